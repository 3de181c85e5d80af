#pragma once
// SQL Server (or any ODBC data source) through unixODBC. Command texts go to the server verbatim: it
// speaks T-SQL. Prepared statements are cached per connection; '?' values bind with SQLBindParameter.
//
// Transactions: BeginTrans turns autocommit off and the outer CommitTrans/RollbackTrans end the
// transaction with SQLEndTran. Inner levels are savepoints: SAVE TRANSACTION / ROLLBACK TRANSACTION on
// SQL Server, which has no RELEASE (a released savepoint simply stays until the transaction ends;
// reusing its name is harmless, a rollback goes to the newest of that name); SAVEPOINT / ROLLBACK TO /
// RELEASE SAVEPOINT on other servers. A savepoint taken outside a transaction opens one, which its
// release commits.
#include <string>
#include <vector>

#include "db/Driver.h"
#include "db/Error.h"
#include "db/odbc/OdbcDialect.h"
#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcStatementCache.h"

namespace db::odbc {

class OdbcDriver : public Driver {
public:
    static inline const std::string& kSource = odbc::kSource;

    OdbcDriver() = default;
    ~OdbcDriver() override;

    // An ODBC connection string: "DSN=erp;UID=...;PWD=..." or "Driver={...};Server=...;Database=...".
    void Open(const std::string& target) override;
    void Close() override;
    bool IsOpen() const override { return connected_; }

    // The text unchanged, as one statement (a T-SQL batch is one statement to the server).
    std::vector<std::string> Translate(const std::string& commandText) override;
    StatementResult Run(const std::string& sql, const std::vector<BoundValue>& values = {}) override;
    // Batches separated by GO lines, each run as it is.
    void RunScript(const std::string& script) override;
    int PositionalParameterCount(const std::string& sql) override;

    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void Savepoint(const std::string& name) override;
    void ReleaseSavepoint(const std::string& name) override;
    void RollbackToSavepoint(const std::string& name) override;
    bool InTransaction() const override { return inTransaction_; }

    std::vector<std::string> PrimaryKey(const TableRef& table) override;
    ColumnNames TableColumns(const TableRef& table) override;
    RowWriteResult WriteRow(const RowWrite& write) override;
    void CallProcedure(Connection& connection, const std::string& name, Parameters& parameters) override;

    std::size_t CachedStatementCount() const override { return cache_.Size(); }
    const std::string& ErrorSource() const override { return kSource; }

    const SqlDialect& Dialect() const { return dialect_; }

private:
    struct Executed {
        StatementResult result;
        long firstCount = 0;  // rows changed by the first statement of the batch alone
    };
    struct SavepointMark {
        std::string name;
        bool opensTransaction = false;  // taken outside a transaction: its release commits
        // SQL Server only: taken before the server had opened the transaction, so there is nothing to
        // save; rolling back to it rolls back the whole transaction.
        bool atStart = false;
    };

    void RequireOpen() const;
    Executed Execute(const std::string& sql, const std::vector<BoundValue>& values);
    // Runs sql once, unprepared and uncounted: transaction control, scripts, state queries.
    StatementResult Direct(const std::string& sql);
    // Every result of an executed statement; rc is what SQLExecute gave.
    Executed Collect(SQLHSTMT stmt, SQLRETURN rc, const std::string& sql);
    void SetAutocommit(bool on);
    void EndTransaction(SQLSMALLINT completion);
    // SQL Server may end the transaction itself when a statement fails (deadlock, XACT_ABORT) or leave
    // it unable to commit; then it is rolled back here and InTransaction turns false.
    void AfterFailure() noexcept;
    long ServerTransactionCount();
    std::vector<SavepointMark>::iterator FindSavepoint(const std::string& name);

    Handle env_;
    Handle dbc_;
    bool connected_ = false;
    StatementCache cache_;
    SqlDialect dialect_ = SqlDialect::Standard();
    bool preparedSurviveEndTran_ = true;
    // The data source is an SQLite file (the driver-contract tests, a copy of a demo company): it has no
    // stored procedures, so those registered for the embedded database stand in, as on the SQLite driver.
    bool embeddedProcedures_ = false;
    bool inTransaction_ = false;
    bool workSinceBegin_ = false;  // a statement succeeded since Begin
    std::vector<SavepointMark> savepoints_;
};

}  // namespace db::odbc
