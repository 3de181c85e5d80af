#pragma once
// Prepared statements of one SQLite connection, kept by their final SQL text for reuse from their second
// run on (SecondSight.h: a statement run once is not worth a place). A statement handed out is reset and
// stripped of its bindings when the lease ends, so the next user starts clean.
#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>

#include "db/sqlite/SecondSight.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db::sqlite {

class StatementCache {
public:
    explicit StatementCache(std::size_t capacity = 256) : capacity_(capacity) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A statement in use; returned to the cache (reset, bindings cleared) when it goes out of scope.
    class Lease {
    public:
        Lease(StatementCache* cache, std::string sql, sqlite3_stmt* stmt, bool kept)
            : cache_(cache), sql_(std::move(sql)), stmt_(stmt), kept_(kept) {}
        Lease(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Lease& operator=(Lease&&) = delete;
        ~Lease();
        sqlite3_stmt* get() const { return stmt_; }

    private:
        StatementCache* cache_;
        std::string sql_;
        sqlite3_stmt* stmt_;
        bool kept_;  // taken from the cache: admitted already
    };

    void Attach(sqlite3* db) { db_ = db; }
    // Prepares sql or takes the cached statement. Raises the driver's error when sql does not prepare or
    // holds more than one statement.
    Lease Acquire(const std::string& sql);
    // Finalizes every cached statement (before the connection closes).
    void Clear();
    std::size_t Size() const { return entries_.size(); }

private:
    void Return(std::string sql, sqlite3_stmt* stmt, bool kept);

    struct Entry {
        sqlite3_stmt* stmt;
        std::list<std::string>::iterator lru;
    };
    sqlite3* db_ = nullptr;
    std::size_t capacity_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> lru_;  // most recently used first
    SecondSight secondSight_;
};

}  // namespace db::sqlite
