#pragma once
// What a database driver offers the data-access core: run one native statement with bound values,
// transactions and savepoints, the primary key of a table, row writes for recordsets, stored procedures.
// The core (Connection, Recordset, Command) is written against this and knows no SQL dialect.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/ColumnList.h"
#include "db/Field.h"
#include "db/PackedRow.h"
#include "db/Variant.h"

namespace db {

class Connection;
class FaultInjector;
class Parameters;

// A value bound to a statement: by position ('?', in order) when name is empty, else by name ("@X").
struct BoundValue {
    std::string name;
    Variant value;
};

struct StatementResult {
    bool hasRowSet = false;  // the statement yields a row set (perhaps empty); DML and DDL do not
    ColumnList columns;
    std::vector<PackedRow> rows;
    long changes = 0;  // rows inserted, updated or deleted by the statement itself
};

// A table's column names as the driver keeps them.
using ColumnNames = std::shared_ptr<const std::vector<std::string>>;

struct TableRef {
    std::string schema;  // database the table lives in ("main", "temp"); empty = the default
    std::string name;
    friend bool operator==(const TableRef&, const TableRef&) = default;
};

// One row written by a recordset. Update and Delete locate the row by keyColumns = keyValues (the
// values as read); when keyIsPrimary is false the key is every column read and the first such row is
// the one written.
struct RowWrite {
    enum class Kind { Insert, Update, Delete };
    Kind kind = Kind::Insert;
    TableRef table;
    std::vector<std::string> setColumns;  // Insert: only the fields assigned; Update: only the fields changed
    std::vector<Variant> setValues;
    std::vector<std::string> keyColumns;
    std::vector<Variant> keyValues;
    bool keyIsPrimary = true;
    std::vector<std::string> readBack;  // Insert: columns to read again from the new row
};

struct RowWriteResult {
    std::vector<Variant> readBack;  // Insert: values of RowWrite::readBack, as the database made them
};

class Driver {
public:
    virtual ~Driver() = default;

    // target is the part of the connection string after the scheme.
    virtual void Open(const std::string& target) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // The statements of a command text, ready for Run, in order (the SQLite driver translates T-SQL).
    virtual std::vector<std::string> Translate(const std::string& commandText) = 0;

    // A command text of one statement in the SQL every driver runs as written (CommonSql.h), ready for Run.
    virtual std::vector<std::string> AsWritten(const std::string& commandText) { return Translate(commandText); }
    // Whether such a text goes to Run as it is, with nothing done to it first but what AsWritten does: then
    // it need not be copied into a list of one.
    virtual bool RunsAsWritten(const std::string& commandText) { return false; }

    // Runs one native statement. Every call counts for fault injection.
    virtual StatementResult Run(const std::string& sql, const std::vector<BoundValue>& values = {}) = 0;

    // Runs a script in the driver's own dialect, untranslated and not counted for fault injection: for
    // setting a database up (the SQLite schema declares COLLATE SQLSERVER, which is no T-SQL).
    virtual void RunScript(const std::string& script) = 0;

    // How many bound values the statement takes by position (to share '?' values across a batch).
    virtual int PositionalParameterCount(const std::string& sql) = 0;

    // Transactions. Transaction control does not count for fault injection.
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual void Savepoint(const std::string& name) = 0;
    virtual void ReleaseSavepoint(const std::string& name) = 0;
    virtual void RollbackToSavepoint(const std::string& name) = 0;
    // False when the database ended the transaction on its own (some failures roll back everything).
    virtual bool InTransaction() const = 0;

    // Column names of the table's primary key, in key order; empty when it has none.
    virtual std::vector<std::string> PrimaryKey(const TableRef& table) = 0;

    // Column names of the table, in the order SELECT * gives them; shared, not copied, by the callers of one
    // table. Not counted for fault injection.
    virtual ColumnNames TableColumns(const TableRef& table) = 0;

    // Columns of the table that may hold Null and have a default: an insert that gives them Null keeps the
    // Null, one that leaves them out gets the default. Nullopt when the driver does not tell.
    virtual std::optional<std::vector<std::string>> NullableColumnsWithDefault(const TableRef&) { return std::nullopt; }

    // Writes one recordset row. Update and Delete that find no row raise the row-not-found error.
    virtual RowWriteResult WriteRow(const RowWrite& write) = 0;
    // Whether WriteRow sends this write as one statement, which the database undoes whole when it fails:
    // a batch of that one row then needs no savepoint of its own.
    virtual bool WritesInOneStatement(const RowWrite&) { return false; }

    // A stored procedure of adCmdStoredProc; output values go back into the parameters.
    virtual void CallProcedure(Connection& connection, const std::string& name, Parameters& parameters) = 0;

    // Prepared statements currently held for reuse.
    virtual std::size_t CachedStatementCount() const = 0;

    // The Source of the errors this driver raises.
    virtual const std::string& ErrorSource() const = 0;

    void SetFaultInjector(FaultInjector* faults) { faults_ = faults; }

protected:
    FaultInjector* faults_ = nullptr;
};

}  // namespace db

namespace db {

// A savepoint around a unit of work (a batch of rows, a procedure): Release keeps the work; leaving the
// scope without Release undoes it.
class SavepointScope {
public:
    SavepointScope(Driver& driver, std::string name) : driver_(driver), name_(std::move(name)) {
        driver_.Savepoint(name_);
    }
    SavepointScope(const SavepointScope&) = delete;
    SavepointScope& operator=(const SavepointScope&) = delete;
    void Release() {
        driver_.ReleaseSavepoint(name_);
        released_ = true;
    }
    ~SavepointScope() {
        if (released_) return;
        try {
            // When the database already ended the transaction there is nothing left to undo.
            if (driver_.InTransaction()) {
                driver_.RollbackToSavepoint(name_);
                driver_.ReleaseSavepoint(name_);
            }
        } catch (...) {
            // Unwinding from the error the caller must see; a rollback that fails here leaves the
            // transaction to the outer level, which rolls back or fails on its own.
        }
    }

private:
    Driver& driver_;
    std::string name_;
    bool released_ = false;
};

// Calls `run` with each native statement of a command text, in order: the text itself when the driver runs
// it as written, else its statements as the driver gives them.
template <typename Run>
void ForEachStatement(Driver& driver, const std::string& commandText, bool asWritten, Run&& run) {
    if (asWritten && driver.RunsAsWritten(commandText)) {
        run(commandText);
        return;
    }
    for (const std::string& sql : asWritten ? driver.AsWritten(commandText) : driver.Translate(commandText)) run(sql);
}

}  // namespace db
