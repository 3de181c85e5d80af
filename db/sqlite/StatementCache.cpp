#include "db/sqlite/StatementCache.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

#include "db/Error.h"
#include "db/sqlite/SqliteDriver.h"

namespace db::sqlite {

StatementCache::Lease::Lease(Lease&& other) noexcept
    : cache_(other.cache_), entry_(other.entry_), sql_(std::move(other.sql_)), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

StatementCache::Lease::~Lease() {
    if (stmt_) cache_->Return(entry_, std::move(sql_), stmt_);
}

ColumnNotes* StatementCache::Lease::Notes() const { return entry_ ? &entry_->notes : nullptr; }

StatementCache::~StatementCache() { Clear(); }

StatementCache::Lease StatementCache::Acquire(const std::string& sql) {
    auto it = entries_.find(sql);
    if (it != entries_.end() && !it->second.inUse) {
        Entry& entry = it->second;
        entry.inUse = true;
        lru_.splice(lru_.begin(), lru_, entry.lru);
        return Lease(this, &entry, {}, entry.stmt);
    }
    // Not kept, or in use by a statement that runs this one from inside (a procedure): prepared anew.
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
    // A second copy of a statement in use is not offered to the cache: the text is left empty.
    return Lease(this, nullptr, it == entries_.end() ? sql : std::string(), stmt);
}

void StatementCache::Return(Entry* entry, std::string sql, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (entry) {
        entry->inUse = false;
        if (entry->orphaned) Forget(entry);
        return;
    }
    if (capacity_ == 0 || sql.empty() || entries_.count(sql) || !secondSight_.Admit(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    Keep(std::move(sql), stmt);
}

void StatementCache::Keep(std::string sql, sqlite3_stmt* stmt) {
    if (entries_.size() >= capacity_) {
        // The least recently used statement that is not in use makes room; when all are, this one goes.
        auto victim = lru_.end();
        for (auto at = lru_.end(); at != lru_.begin();) {
            --at;
            if (!entries_.find(**at)->second.inUse) {
                victim = at;
                break;
            }
        }
        if (victim == lru_.end()) {
            sqlite3_finalize(stmt);
            return;
        }
        auto oldest = entries_.find(**victim);
        sqlite3_finalize(oldest->second.stmt);
        lru_.erase(victim);
        entries_.erase(oldest);
    }
    auto [it, added] = entries_.emplace(std::move(sql), Entry{stmt, {}, false, false, {}});
    lru_.push_front(&it->first);
    it->second.lru = lru_.begin();
}

void StatementCache::Forget(Entry* entry) {
    sqlite3_finalize(entry->stmt);
    const auto it = entries_.find(**entry->lru);
    lru_.erase(entry->lru);
    entries_.erase(it);
}

void StatementCache::Clear() {
    // A statement in use goes when its lease ends.
    for (auto it = lru_.begin(); it != lru_.end();) {
        Entry& entry = entries_.find(**it)->second;
        ++it;
        if (entry.inUse) entry.orphaned = true;
        else Forget(&entry);
    }
}

}  // namespace db::sqlite
