#pragma once
// The little SQL the driver writes itself (transaction control, recordset row writes) in the server's
// dialect. Command texts never pass through here: they go to the server verbatim.
// Two dialects: Transact-SQL for SQL Server, and standard SQL (SAVEPOINT / RELEASE SAVEPOINT) for any
// other server reached through ODBC.
#include <string>

#include "db/Driver.h"

namespace db::odbc {

class SqlDialect {
public:
    // From SQLGetInfo: the DBMS name and the identifier quote character (' ' when the driver has none).
    static SqlDialect ForServer(const std::string& dbmsName, const std::string& identifierQuote);
    static SqlDialect TransactSql() { return SqlDialect(true, "\""); }
    static SqlDialect Standard(const std::string& identifierQuote = "\"") { return SqlDialect(false, identifierQuote); }

    bool IsTransactSql() const { return transactSql_; }

    // Plain names (letters, digits, '_', not an ODBC reserved word) stay as written, so statements read
    // as the schema spells them; anything else is quoted ([x] on SQL Server).
    std::string QuoteIdentifier(const std::string& name) const;
    std::string Qualified(const TableRef& table) const;

    // Savepoints. SQL Server has no RELEASE: a savepoint lives until its transaction ends, and a name
    // used again hides the older one, so ReleaseSavepoint gives "" there. Names must be plain
    // identifiers (SQL Server takes at most 32 characters); anything else raises an error.
    std::string SavepointStatement(const std::string& name) const;
    std::string RollbackToSavepointStatement(const std::string& name) const;
    std::string ReleaseSavepointStatement(const std::string& name) const;

    // SQL Server only: the open transaction count and whether the transaction can still commit
    // (XACT_STATE() -1 = doomed). Empty in the standard dialect, which cannot tell.
    std::string TransactionStateQuery() const;

    // The key value the last INSERT made: SQL Server's of this batch (run in the INSERT's batch), an SQLite
    // file's of this connection (run as a statement of its own, as its driver takes one statement at a
    // time); "" where the server has no such function.
    std::string LastIdentityExpression() const;

private:
    SqlDialect(bool transactSql, std::string quote, bool sqlite = false)
        : transactSql_(transactSql), sqlite_(sqlite), quote_(std::move(quote)) {}
    bool transactSql_;
    bool sqlite_;
    std::string quote_;
};

}  // namespace db::odbc
