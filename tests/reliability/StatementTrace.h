#pragma once
// The statements a file or memory database connection runs, numbered as its fault injector counts them
// (transaction control left out), so that a sweep knows which table the n-th statement works on. A
// callback may also act before a statement runs: the crash sweep ends the process there.
#include <functional>
#include <string>
#include <vector>

#include "SqliteStatementHook.h"
#include "db/Connection.h"

namespace reliability {

class StatementTrace {
public:
    // Counts from the injector's count now; keeps the connection open while it traces.
    explicit StatementTrace(db::ConnectionPtr connection)
        : connection_(std::move(connection)),
          last_(connection_->Faults().StatementCount()),
          hook_(*connection_, [this](sqlite3_stmt*, const char* text) { OnStatement(text); }) {}

    // Statement n's text at [n - 1] (n as the injector counts, from its last reset); "" for one that ran no
    // SQLite statement of its own (a stored procedure call).
    const std::vector<std::string>& Texts() const { return texts_; }
    // Called with the statement's number as each counted statement starts, before it does anything.
    std::function<void(long)> beforeStatement;

private:
    void OnStatement(const std::string& sql) {
        // "--" introduces a trigger's own statements: part of the statement that fired it.
        if (sql.rfind("--", 0) == 0 || testsupport::SqliteStatementHook::IsTransactionControl(sql)) return;
        const long n = connection_->Faults().StatementCount();
        // Not counted by the injector, or not the first SQLite statement of a counted one.
        if (n < 1 || n <= last_) return;
        last_ = n;
        if (texts_.size() < static_cast<std::size_t>(n)) texts_.resize(static_cast<std::size_t>(n));
        texts_[static_cast<std::size_t>(n - 1)] = sql;
        if (beforeStatement) beforeStatement(n);
    }

    db::ConnectionPtr connection_;
    std::vector<std::string> texts_;
    long last_;
    testsupport::SqliteStatementHook hook_;  // last: it calls back into the members above
};

}  // namespace reliability
