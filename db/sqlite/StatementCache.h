#pragma once
// Prepared statements of one SQLite connection, kept by their final SQL text for reuse from their second
// run on (SecondSight.h: a statement run once is not worth a place). A statement handed out is reset and
// stripped of its bindings when the lease ends, so the next user starts clean. A kept statement stays in
// its place while in use (marked so): a lease costs a lookup, not a removal and a new entry.
#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/ColumnList.h"
#include "db/Field.h"
#include "db/sqlite/ColumnTypes.h"
#include "db/sqlite/SecondSight.h"
#include "db/TextHash.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db::sqlite {

// What the driver noted of a kept statement: its result columns as described, valid while SQLite has not
// prepared the statement anew (a schema change; `reprepared` is the statement's count of those when noted),
// and where its bound literals stand among its parameters.
struct ColumnNotes {
    int reprepared = -1;  // -1: nothing noted yet
    ColumnList columns;
    std::vector<DeclaredType> types;
    // Bound literal k is parameter k + literalShift once its names were found in that order; 0 until then.
    // The numbers come from the statement's text, so they hold for as long as the statement is kept.
    int literalShift = 0;
    // Whether binding its literals renamed a result column (the statement is then run with its literals):
    // -1 until looked at. Column names come from the text too.
    int renamesColumns = -1;
};

class StatementCache {
    struct Entry;

public:
    explicit StatementCache(std::size_t capacity = 256) : capacity_(capacity) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A statement in use; returned to the cache (reset, bindings cleared) when it goes out of scope.
    class Lease {
    public:
        Lease(StatementCache* cache, Entry* entry, std::string sql, sqlite3_stmt* stmt)
            : cache_(cache), entry_(entry), sql_(std::move(sql)), stmt_(stmt) {}
        Lease(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Lease& operator=(Lease&&) = delete;
        ~Lease();
        sqlite3_stmt* get() const { return stmt_; }
        // The notes of a kept statement; nullptr for a statement prepared for this use only.
        ColumnNotes* Notes() const;

    private:
        StatementCache* cache_;
        Entry* entry_;     // the cache's entry of a kept statement, else nullptr
        std::string sql_;  // the text of a statement not kept (yet): offered to the cache at the end
        sqlite3_stmt* stmt_;
    };

    void Attach(sqlite3* db) { db_ = db; }
    // Prepares sql or takes the cached statement. Raises the driver's error when sql does not prepare or
    // holds more than one statement.
    Lease Acquire(const std::string& sql);
    // Finalizes every cached statement (before the connection closes).
    void Clear();
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        sqlite3_stmt* stmt;
        std::list<const std::string*>::iterator lru;
        bool inUse = false;
        bool orphaned = false;  // cleared while in use: finalized when its lease ends
        ColumnNotes notes;
    };

    void Return(Entry* entry, std::string sql, sqlite3_stmt* stmt);
    void Keep(std::string sql, sqlite3_stmt* stmt);
    void Forget(Entry* entry);

    sqlite3* db_ = nullptr;
    std::size_t capacity_;
    std::unordered_map<std::string, Entry, TextHasher, std::equal_to<>> entries_;  // node-based: an entry stays where it is
    std::list<const std::string*> lru_;                 // keys of entries_, most recently used first
    SecondSight secondSight_;
};

}  // namespace db::sqlite
