#include "db/sqlite/StatementCache.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

#include "db/Error.h"
#include "db/sqlite/SqliteDriver.h"

namespace db::sqlite {

StatementCache::Lease::Lease(Lease&& other) noexcept
    : cache_(other.cache_), sql_(std::move(other.sql_)), stmt_(other.stmt_), kept_(other.kept_) {
    other.stmt_ = nullptr;
}

StatementCache::Lease::~Lease() {
    if (stmt_) cache_->Return(std::move(sql_), stmt_, kept_);
}

StatementCache::~StatementCache() { Clear(); }

StatementCache::Lease StatementCache::Acquire(const std::string& sql) {
    if (auto it = entries_.find(sql); it != entries_.end()) {
        // Taken out while in use: a statement run from inside another (a procedure) gets its own.
        sqlite3_stmt* stmt = it->second.stmt;
        lru_.erase(it->second.lru);
        entries_.erase(it);
        return Lease(this, sql, stmt, true);
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, &tail) !=
        SQLITE_OK) {
        throw SqliteDriver::LastError(db_, sql);
    }
    if (tail) {
        for (const char* p = tail; *p; ++p) {
            if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') {
                sqlite3_finalize(stmt);
                throw Error(errc::ProviderError,
                            "One statement expected, the text holds several - statement: " + sql,
                            SqliteDriver::kSource);
            }
        }
    }
    if (!stmt) {
        throw Error(errc::ProviderError, "The text holds no statement - statement: " + sql, SqliteDriver::kSource);
    }
    return Lease(this, sql, stmt, false);
}

void StatementCache::Return(std::string sql, sqlite3_stmt* stmt, bool kept) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (capacity_ == 0 || entries_.count(sql) || (!kept && !secondSight_.Admit(sql))) {
        sqlite3_finalize(stmt);
        return;
    }
    if (entries_.size() >= capacity_) {
        auto oldest = entries_.find(lru_.back());
        sqlite3_finalize(oldest->second.stmt);
        entries_.erase(oldest);
        lru_.pop_back();
    }
    lru_.push_front(sql);
    entries_.emplace(std::move(sql), Entry{stmt, lru_.begin()});
}

void StatementCache::Clear() {
    for (auto& [sql, entry] : entries_) sqlite3_finalize(entry.stmt);
    entries_.clear();
    lru_.clear();
}

}  // namespace db::sqlite
