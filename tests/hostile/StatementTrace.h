#pragma once
// What reached the database: every statement SQLite ran on a connection, as it ran it, and its shape -
// the text with string literals, bound values and numbers taken out. A typed value that changed a
// statement's shape (closed a literal, started a comment, added a statement) shows as a shape that a
// plain value never produces.
#include <sqlite3.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"
#include "db/sqlite/SqliteDriver.h"

namespace hostile {

// The statement with every '...' literal, bound parameter (?, ?N, :name, @name, $name) and number
// replaced by '?', blanks collapsed. An unterminated literal is kept as "<open literal>".
inline std::string Shape(std::string_view sql) {
    std::string out;
    auto isWord = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'') {
            std::size_t j = i + 1;
            for (;; ++j) {
                if (j >= sql.size()) return out + "<open literal>";
                if (sql[j] == '\'' && (j + 1 >= sql.size() || sql[j + 1] != '\'')) break;
                if (sql[j] == '\'') ++j;
            }
            out += '?';
            i = j + 1;
        } else if (c == '?' || c == ':' || c == '@' || c == '$') {
            std::size_t j = i + 1;
            while (j < sql.size() && isWord(sql[j])) ++j;
            out += '?';
            i = j;
        } else if (c >= '0' && c <= '9' && (out.empty() || !isWord(out.back()))) {
            std::size_t j = i;
            while (j < sql.size() && (isWord(sql[j]) || sql[j] == '.')) ++j;
            out += '?';
            i = j;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

class StatementTrace {
public:
    explicit StatementTrace(db::Connection& connection)
        : db_(dynamic_cast<db::sqlite::SqliteDriver&>(connection.GetDriver()).Handle()) {
        sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &StatementTrace::OnStatement, this);
    }
    ~StatementTrace() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    StatementTrace(const StatementTrace&) = delete;
    StatementTrace& operator=(const StatementTrace&) = delete;

    const std::vector<std::string>& Statements() const { return statements_; }
    // Transaction control left out: a refused value rolls back where a plain one commits.
    std::set<std::string> Shapes() const {
        std::set<std::string> shapes;
        for (const auto& s : statements_) {
            const std::string shape = Shape(s);
            if (shape.rfind("ROLLBACK", 0) != 0 && shape.rfind("SAVEPOINT", 0) != 0 && shape.rfind("RELEASE", 0) != 0 &&
                shape.rfind("BEGIN", 0) != 0 && shape.rfind("COMMIT", 0) != 0)
                shapes.insert(shape);
        }
        return shapes;
    }
    void Clear() { statements_.clear(); }
    // Stops recording, so the test's own checks stay out of what the run did.
    void Pause() { paused_ = true; }
    void Resume() { paused_ = false; }

private:
    static int OnStatement(unsigned, void* self, void* stmt, void*) {
        // The statement's own text: bound values stay markers, so a value can be seen only as a literal.
        auto* trace = static_cast<StatementTrace*>(self);
        const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
        if (!trace->paused_ && sql && std::string_view(sql).rfind("--", 0) != 0)  // trigger lines come apart
            trace->statements_.emplace_back(sql);
        return 0;
    }

    sqlite3* db_;
    std::vector<std::string> statements_;
    bool paused_ = false;
};

// Shapes of `hostile` that a plain run never produced; empty when no statement changed shape.
inline std::set<std::string> NewShapes(const std::set<std::string>& hostile, const std::set<std::string>& plain) {
    std::set<std::string> extra;
    for (const auto& s : hostile)
        if (!plain.count(s)) extra.insert(s);
    return extra;
}

// The statements in which `value` shows outside a literal (a value of two characters or more).
inline std::vector<std::string> OutsideLiterals(const StatementTrace& trace, const std::string& value) {
    std::vector<std::string> found;
    if (db::Len(value) < 2) return found;
    for (const auto& s : trace.Statements())
        if (Shape(s).find(value) != std::string::npos) found.push_back(s.substr(0, 200));
    return found;
}

}  // namespace hostile
