#pragma once
// What reached the database: every statement SQLite ran on a connection, as it ran it, and its shape -
// the text with string literals, bound values and numbers taken out. A typed value that changed a
// statement's shape (closed a literal, started a comment, added a statement) shows as a shape that a
// plain value never produces.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "SqliteStatementHook.h"
#include "db/Connection.h"
#include "db/Variant.h"

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
        : hook_(connection, [this](sqlite3_stmt* statement, const char*) { OnStatement(statement); }) {}

    const std::vector<std::string>& Statements() const { return statements_; }
    // Transaction control left out: a refused value rolls back where a plain one commits.
    std::set<std::string> Shapes() const {
        std::set<std::string> shapes;
        for (const auto& s : statements_) {
            if (!testsupport::SqliteStatementHook::IsTransactionControl(s)) shapes.insert(Shape(s));
        }
        return shapes;
    }
    void Clear() { statements_.clear(); }
    // Stops recording, so the test's own checks stay out of what the run did.
    void Pause() { paused_ = true; }
    void Resume() { paused_ = false; }

private:
    void OnStatement(sqlite3_stmt* statement) {
        // The statement's own text: bound values stay markers, so a value can be seen only as a literal.
        const char* sql = sqlite3_sql(statement);
        if (!paused_ && sql && std::string_view(sql).rfind("--", 0) != 0)  // trigger lines come apart
            statements_.emplace_back(sql);
    }

    std::vector<std::string> statements_;
    bool paused_ = false;
    testsupport::SqliteStatementHook hook_;  // last: it calls back into the members above
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
