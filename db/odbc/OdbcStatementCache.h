#pragma once
// Prepared statements of one ODBC connection, kept by their text for reuse (an article copy runs the
// same INSERT once per row). A statement handed out is closed and stripped of its parameters when the
// lease ends, so the next user starts clean.
#include <sql.h>

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>

#include "db/TextHash.h"

namespace db::odbc {

class StatementCache {
public:
    explicit StatementCache(std::size_t capacity = 128) : capacity_(capacity) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    class Lease {
    public:
        Lease(StatementCache* cache, std::string sql, SQLHSTMT stmt) : cache_(cache), sql_(std::move(sql)), stmt_(stmt) {}
        Lease(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Lease& operator=(Lease&&) = delete;
        ~Lease();
        SQLHSTMT get() const { return stmt_; }

    private:
        StatementCache* cache_;
        std::string sql_;
        SQLHSTMT stmt_;
    };

    void Attach(SQLHDBC dbc) { dbc_ = dbc; }
    // The cached statement, or a new one prepared from sql (the driver's error when it does not prepare).
    Lease Acquire(const std::string& sql);
    // Frees every cached statement: before the connection closes, or when the driver drops prepared
    // statements at the end of a transaction.
    void Clear();
    std::size_t Size() const { return entries_.size(); }

private:
    void Return(std::string sql, SQLHSTMT stmt);

    struct Entry {
        SQLHSTMT stmt;
        std::list<std::string>::iterator lru;
    };
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    std::size_t capacity_;
    std::unordered_map<std::string, Entry, TextHasher, std::equal_to<>> entries_;
    std::list<std::string> lru_;  // most recently used first
};

}  // namespace db::odbc
