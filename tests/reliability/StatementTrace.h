#pragma once
// The statements a file or memory database connection runs, numbered as its fault injector counts them
// (transaction control left out), so that a sweep knows which table the n-th statement works on. A
// callback may also act before a statement runs: the crash sweep ends the process there.
#include <sqlite3.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/sqlite/SqliteDriver.h"

namespace reliability {

class StatementTrace {
public:
    // Counts from the injector's count now; keeps the connection open while it traces.
    explicit StatementTrace(db::ConnectionPtr connection)
        : connection_(std::move(connection)),
          handle_(dynamic_cast<db::sqlite::SqliteDriver&>(connection_->GetDriver()).Handle()),
          last_(connection_->Faults().StatementCount()) {
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &StatementTrace::OnTrace, this);
    }
    ~StatementTrace() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }
    StatementTrace(const StatementTrace&) = delete;
    StatementTrace& operator=(const StatementTrace&) = delete;

    // Statement n's text at [n - 1] (n as the injector counts, from its last reset); "" for one that ran no
    // SQLite statement of its own (a stored procedure call).
    const std::vector<std::string>& Texts() const { return texts_; }
    // Called with the statement's number as each counted statement starts, before it does anything.
    std::function<void(long)> beforeStatement;

private:
    static bool IsTransactionControl(const std::string& sql) {
        static const std::regex control(R"(^\s*(BEGIN|COMMIT|ROLLBACK|SAVEPOINT|RELEASE|END)\b)", std::regex::icase);
        return std::regex_search(sql, control);
    }

    static int OnTrace(unsigned, void* self, void*, void* x) {
        auto& trace = *static_cast<StatementTrace*>(self);
        const std::string sql = x ? static_cast<const char*>(x) : "";
        // "--" introduces a trigger's own statements: part of the statement that fired it.
        if (sql.rfind("--", 0) == 0 || IsTransactionControl(sql)) return 0;
        const long n = trace.connection_->Faults().StatementCount();
        // Not counted by the injector, or not the first SQLite statement of a counted one.
        if (n < 1 || n <= trace.last_) return 0;
        trace.last_ = n;
        if (trace.texts_.size() < static_cast<std::size_t>(n)) trace.texts_.resize(static_cast<std::size_t>(n));
        trace.texts_[static_cast<std::size_t>(n - 1)] = sql;
        if (trace.beforeStatement) trace.beforeStatement(n);
        return 0;
    }

    db::ConnectionPtr connection_;
    sqlite3* handle_;
    std::vector<std::string> texts_;
    long last_;
};

}  // namespace reliability
