#pragma once
// What the hostile tests share beside the list of values: what reached the database, rows per table, and
// the demo company in memory - its processing logs in a folder of the tests' own, a program reading its
// settings - where the in-process tests run, one value of the list per test. Each entry point runs once
// with a plain value and then with the hostile one, both traced.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "GenerationFixture.h"
#include "HostileValues.h"
#include "SqliteStatementHook.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "db/Variant.h"
#include "erp/Schema.h"

namespace hostile {

// What reached the database: every statement SQLite ran on a connection, as it ran it, and its shape -
// the text with string literals, bound values and numbers taken out. A typed value that changed a
// statement's shape (closed a literal, started a comment, added a statement) shows as a shape that a
// plain value never produces.

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
        } else if (const bool number = c >= '0' && c <= '9' && (out.empty() || !isWord(out.back()));
                   number || c == '?' || c == ':' || c == '@' || c == '$') {
            // A bound parameter with its name, or a number with its decimals.
            std::size_t j = i + 1;
            while (j < sql.size() && (isWord(sql[j]) || (number && sql[j] == '.'))) ++j;
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

    // Transaction control left out: a refused value rolls back where a plain one commits.
    std::set<std::string> Shapes() const {
        std::set<std::string> shapes;
        for (const auto& s : statements_)
            if (!testsupport::SqliteStatementHook::IsTransactionControl(s)) shapes.insert(Shape(s));
        return shapes;
    }
    // The statements in which `value` shows outside a literal (a value of two characters or more).
    std::vector<std::string> OutsideLiterals(const std::string& value) const {
        std::vector<std::string> found;
        if (db::Len(value) < 2) return found;
        for (const auto& s : statements_)
            if (Shape(s).find(value) != std::string::npos) found.push_back(s.substr(0, 200));
        return found;
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

// Rows per ERP table: every table must still be there (a missing one fails the count), and a run that
// wrote one article must have written as many rows per table as a plain value does.
using TableCounts = std::map<std::string, long>;

inline TableCounts CountRows(db::Connection& c) {
    TableCounts counts;
    for (const auto& table : erp::TableNames()) counts[table] = testsupport::Count(c, "SELECT COUNT(*) FROM " + table);
    return counts;
}

// Articles whose code is exactly `code`, byte for byte (the collation alone compares case and trailing
// blanks loosely).
inline long ArticlesWithCode(db::Connection& c, const std::string& code) {
    const auto codes =
        testsupport::Rows(c, "SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_CODART = " + db::SqlText(code));
    return static_cast<long>(std::count(codes.begin(), codes.end(), code));
}

// An article whose code is `code`, with a standard description: what a condition on the code must find.
inline void InsertArticle(db::Connection& c, const std::string& code) {
    const std::string quoted = db::SqlText(code);
    testsupport::Exec(c, "INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, " + quoted + ")");
    testsupport::Exec(c, "INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_DESCART) VALUES (1, " +
                             quoted + ", 'hostile')");
}

class HostileCompany : public testsupport::GenerationFixture, public ::testing::WithParamInterface<HostileValue> {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        UseLogFolder("agganci-hostile");
        trace.emplace(*conn);
        trace->Pause();
    }

    // A column of the article's standard description; "<n rows>" unless there is exactly one.
    std::string StoredDescription(const std::string& code, const std::string& column = "MG87_DESCART") {
        const auto rows = testsupport::Rows(*conn, "SELECT " + column + " FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = " +
                                                       db::SqlText(code) +
                                                       " AND MG87_LINGUA_MG52 = ' ' AND MG87_OPZIONE_MG5E = ' '");
        return rows.size() == 1 ? rows[0] : "<" + std::to_string(rows.size()) + " rows>";
    }

    // The entry point with a plain value: the statement shapes it gives are what the hostile runs are held
    // to. The rows it wrote.
    TableCounts PlainRun(const std::function<void()>& run) {
        const auto rows = Traced(run);
        plainShapes = trace->Shapes();
        return rows;
    }

    // The entry point with `value`: no statement takes a shape the plain run did not give it, the value shows
    // in no statement outside a literal, no error box is shown. The rows it wrote; `unchanged` tells whether
    // the whole database is as the run found it.
    TableCounts HostileRun(const std::string& value, const std::function<void()>& run) {
        const std::string snapshot = Snapshot();
        const auto rows = Traced(run);
        unchanged = Snapshot() == snapshot;
        auto extra = trace->Shapes();
        std::erase_if(extra, [this](const std::string& shape) { return plainShapes.count(shape) > 0; });
        EXPECT_EQ(extra, std::set<std::string>{}) << "shapes a plain value never gives";
        EXPECT_EQ(trace->OutsideLiterals(value), std::vector<std::string>{});
        EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty()) << shell->Messages()->ErrorBoxes()[0].description;
        return rows;
    }

    std::optional<StatementTrace> trace;  // paused but while a run of the entry point goes on
    std::set<std::string> plainShapes;
    bool unchanged = false;

private:
    // The rows `run` wrote, per table, tables without a change left out. They are counted with the trace
    // paused, so that the counts stay out of what the run did.
    TableCounts Traced(const std::function<void()>& run) {
        const auto before = CountRows(*conn);
        trace->Clear();
        trace->Resume();
        run();
        trace->Pause();
        TableCounts written;
        for (const auto& [table, n] : CountRows(*conn))
            if (n != before.at(table)) written[table] = n - before.at(table);
        return written;
    }
};

}  // namespace hostile
