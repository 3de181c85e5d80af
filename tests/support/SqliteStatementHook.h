#pragma once
// Sees every statement SQLite starts on a connection, while the hook lives: the tests that watch what
// reached the database (which table the n-th statement writes, which shape a typed value gave a
// statement) are built on it.
#include <sqlite3.h>

#include <cctype>
#include <functional>
#include <string_view>

#include "db/Connection.h"
#include "db/sqlite/SqliteDriver.h"

namespace testsupport {

class SqliteStatementHook {
public:
    // `text` is the statement as prepared; a trigger's own statements come as "-- ..." lines.
    using Callback = std::function<void(sqlite3_stmt* statement, const char* text)>;

    SqliteStatementHook(db::Connection& connection, Callback callback)
        : handle_(dynamic_cast<db::sqlite::SqliteDriver&>(connection.GetDriver()).Handle()),
          callback_(std::move(callback)) {
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &SqliteStatementHook::OnStatement, this);
    }
    ~SqliteStatementHook() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }
    SqliteStatementHook(const SqliteStatementHook&) = delete;
    SqliteStatementHook& operator=(const SqliteStatementHook&) = delete;

    // BEGIN, COMMIT, ROLLBACK, SAVEPOINT, RELEASE or END: the frame of a unit of work, not its work.
    static bool IsTransactionControl(std::string_view sql) {
        while (!sql.empty() && (sql.front() == ' ' || sql.front() == '\t' || sql.front() == '\r' || sql.front() == '\n'))
            sql.remove_prefix(1);
        for (std::string_view word : {"BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT", "RELEASE", "END"}) {
            if (sql.size() < word.size()) continue;
            bool same = true;
            for (std::size_t i = 0; i < word.size() && same; ++i)
                same = (sql[i] & ~0x20) == word[i];
            const bool ends = sql.size() == word.size() || !(std::isalnum(static_cast<unsigned char>(sql[word.size()])) ||
                                                             sql[word.size()] == '_');
            if (same && ends) return true;
        }
        return false;
    }

private:
    static int OnStatement(unsigned, void* self, void* statement, void* text) {
        auto& hook = *static_cast<SqliteStatementHook*>(self);
        hook.callback_(static_cast<sqlite3_stmt*>(statement), text ? static_cast<const char*>(text) : "");
        return 0;
    }

    sqlite3* handle_;
    Callback callback_;
};

}  // namespace testsupport
