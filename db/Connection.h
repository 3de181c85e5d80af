#pragma once
// ADO-style connection: one database session, transactions (nested as savepoints), Execute.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/Constants.h"
#include "db/Error.h"
#include "db/FaultInjector.h"
#include "db/Object.h"

namespace db {

class Driver;
class Recordset;
struct BoundValue;

// How a level opened inside a transaction undoes its work.
enum class LevelUndo {
    Own,  // a savepoint: rolling the level back undoes what it wrote, and the transaction goes on
    // No savepoint: the work of the level can only be undone by a level around it. Rolling the level back
    // leaves its work in place and dooms the nearest level around it that has a savepoint (or the
    // transaction): rolling that level back undoes it all; committing it rolls it back and raises an error.
    // For a level that is never kept without the one around it, where the database would otherwise keep a
    // copy of every page the level changes, for nothing.
    WithTransaction,
};

class Connection : public Object, public std::enable_shared_from_this<Connection> {
public:
    static std::shared_ptr<Connection> Create();
    ~Connection() override;

    // "sqlite:PATH", "sqlite::memory:" or "odbc:DSN-or-driver-string". Error when the scheme is unknown
    // or the database cannot be opened. ODBC statements go to the server verbatim (T-SQL).
    void Open(const std::string& connectionString = {});
    void Close();
    long State() const;
    const std::string& ConnectionString() const { return connectionString_; }
    void ConnectionString(const std::string& s) { connectionString_ = s; }

    // Returns the new nesting level (1 for the outermost). An inner level is a savepoint, so
    // RollbackTrans at level 2 undoes only what came after the matching BeginTrans (LevelUndo::Own; see
    // LevelUndo::WithTransaction for a level without one). CommitTrans and RollbackTrans without a
    // transaction raise an error.
    long BeginTrans(LevelUndo undo = LevelUndo::Own);
    void CommitTrans();
    void RollbackTrans();
    long TransactionLevel() const { return transLevel_; }

    // Runs one text batch (several statements run in order). Returns a read-only client-side recordset
    // of the last statement that produced rows (an open, empty one for a statement without rows), or
    // nullptr with adExecuteNoRecords.
    // recordsAffected: rows inserted, updated or deleted by the whole batch. options may combine a
    // command type with adExecuteNoRecords (129 = text, no records) and with adExecuteCommonSql (CommonSql.h).
    std::shared_ptr<Recordset> Execute(const std::string& commandText, long* recordsAffected = nullptr,
                                       long options = adOptionUnspecified);

    // Execute with values for the '?' markers (in order across the statements) or for @names.
    std::shared_ptr<Recordset> ExecuteWith(const std::string& commandText, const std::vector<BoundValue>& values,
                                           long* recordsAffected = nullptr, long options = adOptionUnspecified);

    // Column names of a table, in the order SELECT * gives them (the driver's ColumnNames, shared); the SQLite
    // driver keeps them inside a transaction, for as long as the schema version they were read under holds.
    std::shared_ptr<const std::vector<std::string>> TableColumns(const std::string& table);
    // The driver's answer (Driver.h): the columns whose Null an insert keeps but whose absence gets a default.
    std::optional<std::vector<std::string>> NullableColumnsWithDefault(const std::string& table);

    // Errors of the last failing operation, ADO's Errors collection.
    const std::vector<Error>& Errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }

    // For the data-access layer itself (recordsets, commands) and for tests.
    Driver& GetDriver();  // Error 3709 when the connection is not open
    // GetDriver for a statement: refused while a transaction the caller opened was rolled back by the
    // database on its own, until the caller's RollbackTrans.
    Driver& DriverForStatement();
    FaultInjector& Faults() { return faults_; }
    void RecordError(const Error& e);  // the Errors collection becomes this one error

private:
    Connection();
    std::string connectionString_;
    std::unique_ptr<Driver> driver_;
    std::vector<Error> errors_;
    long transLevel_ = 0;
    std::vector<bool> savepoints_;  // by level: whether the level has a savepoint of its own
    long doomedLevel_ = 0;          // a level that may not be kept: it must undo a level without a savepoint
    FaultInjector faults_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

}  // namespace db
