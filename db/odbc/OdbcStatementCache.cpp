#include "db/odbc/OdbcStatementCache.h"

#include <sqlext.h>

#include <utility>

#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcText.h"

namespace db::odbc {

StatementCache::Lease::Lease(Lease&& other) noexcept
    : cache_(other.cache_), sql_(std::move(other.sql_)), stmt_(std::exchange(other.stmt_, nullptr)) {}

StatementCache::Lease::~Lease() {
    if (stmt_) cache_->Return(std::move(sql_), stmt_);
}

StatementCache::~StatementCache() { Clear(); }

StatementCache::Lease StatementCache::Acquire(const std::string& sql) {
    if (auto it = entries_.find(sql); it != entries_.end()) {
        // Taken out while in use, so a statement run while another is open gets its own handle.
        SQLHSTMT stmt = it->second.stmt;
        lru_.erase(it->second.lru);
        entries_.erase(it);
        return Lease(this, sql, stmt);
    }
    SQLHANDLE raw = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &raw), SQL_HANDLE_DBC, dbc_, sql);
    Handle stmt(SQL_HANDLE_STMT, raw);
    std::u16string text = ToUtf16(sql);
    Check(SQLPrepareW(stmt.get(), Wide(text), static_cast<SQLINTEGER>(text.size())), SQL_HANDLE_STMT, stmt.get(), sql);
    Lease lease(this, sql, stmt.get());
    static_cast<void>(stmt.release());
    return lease;
}

void StatementCache::Return(std::string sql, SQLHSTMT stmt) {
    // Closing discards what a failed or abandoned execution left pending on the connection.
    SQLFreeStmt(stmt, SQL_CLOSE);
    SQLFreeStmt(stmt, SQL_RESET_PARAMS);
    if (capacity_ == 0 || entries_.count(sql)) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return;
    }
    if (entries_.size() >= capacity_) {
        auto oldest = entries_.find(lru_.back());
        SQLFreeHandle(SQL_HANDLE_STMT, oldest->second.stmt);
        entries_.erase(oldest);
        lru_.pop_back();
    }
    lru_.push_front(sql);
    entries_.emplace(std::move(sql), Entry{stmt, lru_.begin()});
}

void StatementCache::Clear() {
    for (auto& [sql, entry] : entries_) SQLFreeHandle(SQL_HANDLE_STMT, entry.stmt);
    entries_.clear();
    lru_.clear();
}

}  // namespace db::odbc
