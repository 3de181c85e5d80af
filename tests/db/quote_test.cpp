// Values put into statement text: texts can never end their literal early, numbers are only numbers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <string>
#include <vector>

#include "db/Error.h"
#include "db/Quote.h"

using namespace db;

namespace {

// A real SQL engine reads the literal back: it must give the original text, whole.
class SqlRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        Exec("CREATE TABLE users (id INTEGER, name TEXT); INSERT INTO users VALUES (1, 'ann'), (2, 'bob');");
    }
    void TearDown() override { sqlite3_close(db_); }

    void Exec(const std::string& sql) {
        char* message = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    }

    // Every row of a one-column query, as text.
    std::vector<std::string> Column(const std::string& sql) {
        std::vector<std::string> rows;
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, &tail), SQLITE_OK) << sql;
        EXPECT_STREQ(tail, "") << "the statement must not go on after the value";
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
            rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return rows;
    }

    sqlite3* db_ = nullptr;
};

template <class F>
void ExpectError(long number, F&& f) {
    try {
        f();
        ADD_FAILURE() << "no error " << number << " raised";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), number) << e.Description();
    }
}

}  // namespace

TEST(SqlQuoting, DoublesSingleQuotes) {
    EXPECT_EQ(SqlEscape("O'Brien"), "O''Brien");
    EXPECT_EQ(SqlText("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlText("x' OR '1'='1"), "'x'' OR ''1''=''1'");
    EXPECT_EQ(SqlText(""), "''");
    EXPECT_EQ(SqlText("''"), "''''''");
    EXPECT_EQ(SqlText("Modalità"), "'Modalità'");
}

TEST_F(SqlRoundTrip, QuotedTextsComeBackWhole) {
    for (std::string text : {"O'Brien", "x' OR '1'='1", "'", "''", "a'; DROP TABLE users; --", "\\'", "Modalità ' è"}) {
        EXPECT_EQ(Column("SELECT " + SqlText(text)), std::vector<std::string>{text});
    }
    EXPECT_EQ(Column("SELECT name FROM users WHERE name = " + SqlText("x' OR '1'='1")).size(), 0u);
    EXPECT_EQ(Column("SELECT name FROM users WHERE name = '" + SqlEscape("ann' OR name = 'bob") + "'").size(), 0u);
    EXPECT_EQ(Column("SELECT count(*) FROM users"), std::vector<std::string>{"2"});
}

TEST(SqlNumbers, WriteTheDecimalText) {
    EXPECT_EQ(SqlNumber(42), "42");
    EXPECT_EQ(SqlNumber(std::int16_t{-3}), "-3");
    EXPECT_EQ(SqlNumber(Decimal(12345, 2)), "123.45");
    EXPECT_EQ(SqlNumber(9000000000LL), "9000000000");
    EXPECT_EQ(SqlNumber(0.5), "0.5");
    EXPECT_EQ(SqlNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(SqlNumber(1e20), "100000000000000000000");
    EXPECT_EQ(SqlNumber(1e-5), "0.00001");
    EXPECT_EQ(SqlNumber(-1.5e-7), "-0.00000015");
    EXPECT_EQ(SqlNumber(-0.0), "0");
    EXPECT_EQ(SqlNumber(true), "-1");
    EXPECT_EQ(SqlNumber(false), "0");
    EXPECT_EQ(SqlNumber(" 007 "), "7");
    EXPECT_EQ(SqlNumber("1E3"), "1000");
    EXPECT_EQ(SqlNumber("-2.50"), "-2.5");
}

TEST(SqlNumbers, RefuseEverythingElse) {
    for (const char* text : {"1; DROP TABLE x", "1 OR 1=1", "", " ", "abc", "0x10", "&H10", "1,5", "1'"})
        ExpectError(errc::TypeMismatch, [&] { SqlNumber(text); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(Variant()); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(Variant::Null()); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(Variant::Missing()); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(Date::FromParts(2024, 1, 1)); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(ObjectPtr()); });
    ExpectError(errc::TypeMismatch, [] { SqlNumber(HUGE_VAL); });
    ExpectError(errc::Overflow, [] { SqlNumber("1E+99999"); });
    ExpectError(errc::Overflow, [] { SqlNumber(1e300); });
}

TEST_F(SqlRoundTrip, NumbersSelectTheRightRow) {
    EXPECT_EQ(Column("SELECT name FROM users WHERE id = " + SqlNumber(" 2 ")), std::vector<std::string>{"bob"});
    EXPECT_EQ(Column("SELECT name FROM users WHERE id = " + SqlNumber(Decimal(10, 1))), std::vector<std::string>{"ann"});
}
