// T-SQL constructs the component uses, run through the SQLite driver: the rows are SQL Server's. (That each
// statement of the component translates and runs is checked on recordings of real runs: tests/tsql.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"
#include "db/sqlite/SqliteDriver.h"

#include "SqliteStatementHook.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class TsqlOnSqlite : public ::testing::Test {
protected:
    void SetUp() override {
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE BILL (ID INTEGER, ART VARCHAR(20) COLLATE SQLSERVER, KIND INTEGER);"
            "CREATE TABLE DIM (CODE VARCHAR(10) COLLATE SQLSERVER);"
            "CREATE TABLE OPT (DIM VARCHAR(10) COLLATE SQLSERVER, SEQ INTEGER, DESCR VARCHAR(20) COLLATE SQLSERVER);"
            "CREATE TABLE DESCS (GUID VARCHAR(10), ART VARCHAR(20) COLLATE SQLSERVER);"
            "CREATE TABLE ATTR (GUID VARCHAR(10), ENT INTEGER, BRAND VARCHAR(10))");
    }
    // Rows of the last statement, NULL as "NULL".
    Rows Run(const std::string& tsql) {
        Rows rows;
        auto rs = conn->Execute(tsql);
        if (!rs || rs->State() != db::adStateOpen) return rows;
        for (; !rs->EOF(); rs->MoveNext()) {
            rows.emplace_back();
            for (long i = 0; i < rs->GetFields().Count(); ++i) {
                const db::Variant v = rs->GetFields()[i].Value();
                rows.back().push_back(v.IsNull() ? "NULL" : v.CStr());
            }
        }
        return rows;
    }
    std::string One(const std::string& tsql) {
        const Rows r = Run(tsql);
        return r.size() == 1 && r[0].size() == 1 ? r[0][0] : "<" + std::to_string(r.size()) + " rows>";
    }
    db::ConnectionPtr conn;
};

TEST_F(TsqlOnSqlite, ListIdiomUpdateFromFunctionsAndPlusGiveSqlServersResults) {
    // The list idiom keeps its order, is correlated and is Null when empty.
    Run("INSERT INTO BILL VALUES (30, 'NEW01', 0), (12, 'new01', 0), (7, 'NEW01', 1), (8, 'OTHER', 0)");
    const std::string list =
        ";WITH CTE1 AS (SELECT CAST(ID AS VARCHAR(18)) AS IDDISBA FROM BILL WITH (NOLOCK)WHERE KIND = 0 "
        "AND ART = '%') SELECT STUFF ((SELECT ', ' + IDDISBA + '' FROM CTE1 FOR XML PATH('')), 1, 2, '')";
    EXPECT_EQ(One(std::regex_replace(list, std::regex("%"), "NEW01")), "30, 12");
    EXPECT_EQ(One(std::regex_replace(list, std::regex("%"), "NONE")), "NULL");
    EXPECT_EQ(One("SELECT STUFF((SELECT ', ' + CAST(ID AS VARCHAR(18)) FROM BILL ORDER BY ID DESC "
                  "FOR XML PATH('')), 1, 2, '')"),
              "30, 12, 8, 7");

    Run("INSERT INTO DIM VALUES ('TG'), ('COL'), ('EMPTY')");
    Run("INSERT INTO OPT VALUES ('TG', 2, 'Medium'), ('TG', 1, 'Small'), ('TG', 3, NULL), ('COL', 1, 'Red')");
    // NULL items drop out of the list, as they do from SQL Server's XML.
    EXPECT_EQ(Run("SELECT CODE, STUFF((SELECT ' / ' + DESCR FROM OPT WITH (NOLOCK) WHERE DIM = CODE ORDER BY SEQ "
                  "FOR XML PATH('')), 1, 3, '') FROM DIM ORDER BY CODE"),
              (Rows{{"COL", "Red"}, {"EMPTY", "NULL"}, {"TG", "Small / Medium"}}));

    // UPDATE ... FROM changes only the joined rows.
    Run("INSERT INTO DESCS VALUES ('G1', 'NEW01'), ('G2', 'OLD01')");
    Run("INSERT INTO ATTR VALUES ('G1', 1, 'b0'), ('G1', 2, 'b0'), ('G2', 1, 'b0'), ('G3', 1, 'b0')");
    Run("UPDATE A SET A.BRAND = D.ART FROM ATTR A INNER JOIN DESCS D ON D.GUID = A.GUID "
        "WHERE A.ENT = 1 AND D.ART = 'new01'");
    EXPECT_EQ(Run("SELECT GUID, ENT, BRAND FROM ATTR ORDER BY 1, 2"),
              (Rows{{"G1", "1", "NEW01"}, {"G1", "2", "b0"}, {"G2", "1", "b0"}, {"G3", "1", "b0"}}));

    // Functions and casts.
    EXPECT_EQ(Run("SELECT LEN('ab  '), LEN(''), SUBSTRING('abcdef', 0, 3), SUBSTRING('abcdef', -1, 3),"
                  " SUBSTRING('abcdef', 2, 3), LEFT('abc', 2), RIGHT('abc', 2), RIGHT('abc', 0), RIGHT('abc', 5),"
                  " CHARINDEX('C', 'abcabc'), ISNULL(NULL, 'x')"),
              (Rows{{"2", "0", "ab", "a", "bcd", "ab", "bc", "", "abc", "3", "x"}}));
    EXPECT_EQ(Run("SELECT CAST('ab' AS CHAR(4)) + '|', CAST('abcdef' AS VARCHAR(3)), CAST(2.5 AS DECIMAL(5,0)),"
                  " CAST(1.256 AS DECIMAL(9,2)), CAST(7 AS BIT), CAST(0 AS BIT), CONCAT(NULL, 'a', 1)"),
              (Rows{{"ab  |", "abc", "3", "1.26", "1", "0", "a1"}}));
    const std::regex guid("^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$");
    const std::string a = One("SELECT NEWID() AS NEWGUID"), b = One("SELECT NEWID() AS NEWGUID");
    EXPECT_TRUE(std::regex_match(a, guid)) << a;
    EXPECT_NE(a, b);

    // + adds or concatenates by the values of the row.
    conn->GetDriver().RunScript("CREATE TABLE P (N INTEGER, R REAL, T TEXT, U TEXT)");
    Run("INSERT INTO P VALUES (2, 0.5, 'ab', '40')");
    EXPECT_EQ(Run("SELECT N + N, T + T, T + 'x', N + R, U + N, N + NULL, T + NULL FROM P"),
              (Rows{{"4", "abab", "abx", "2.5", "42", "NULL", "NULL"}}));
    EXPECT_THAT([&] { Run("SELECT T + N FROM P"); },
                ::testing::ThrowsMessage<db::Error>(
                    ::testing::HasSubstr("Conversion failed when converting the varchar value 'ab' to a number.")));
}

TEST_F(TsqlOnSqlite, SelectIntoAGlobalTemporaryTableMakesOneOfThisConnectionAndKeepsOthersPrepared) {
    Run("INSERT INTO DIM VALUES ('TG'), ('COL')");
    const std::string drop = "IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP";
    Run(drop);  // nothing to drop: no error
    Run(" WITH CTE AS (SELECT CAST (1 AS DECIMAL (1,0)) AS SEL, CODE FROM DIM WITH (NOLOCK)) "
        "SELECT * INTO  ##TABTEMP  FROM CTE");
    EXPECT_EQ(Run("  SELECT SEL, CODE FROM ##TABTEMP ORDER BY CODE"), (Rows{{"1", "COL"}, {"1", "TG"}}));
    EXPECT_EQ(One("SELECT COUNT(*) FROM tempdb.sqlite_master WHERE name = 'TABTEMP'"), "1");
    EXPECT_EQ(One("SELECT COUNT(*) FROM sqlite_master WHERE name = 'TABTEMP'"), "0");
    Run(drop);
    EXPECT_EQ(One("SELECT COUNT(*) FROM tempdb.sqlite_master WHERE name = 'TABTEMP'"), "0");

    // One made in a transaction that is rolled back is gone with it; made again, it has its new columns.
    conn->BeginTrans();
    Run("SELECT CODE INTO ##TABTEMP FROM DIM");
    conn->RollbackTrans();
    EXPECT_EQ(One("SELECT COUNT(*) FROM tempdb.sqlite_master WHERE name = 'TABTEMP'"), "0");
    Run("SELECT CODE, 7 AS N INTO ##TABTEMP FROM DIM WHERE CODE = 'TG'");
    EXPECT_EQ(Run("SELECT * FROM ##TABTEMP"), (Rows{{"TG", "7"}}));
    Run(drop);

    // Making and dropping a temporary table leaves the connection's prepared statements as they are: the
    // statements of a run are not prepared again after each selection.
    auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&conn->GetDriver());
    ASSERT_NE(driver, nullptr);
    sqlite3_stmt* kept = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(driver->Handle(), "SELECT COUNT(*) FROM DIM", -1, &kept, nullptr), SQLITE_OK);
    auto step = [&] {
        EXPECT_EQ(sqlite3_step(kept), SQLITE_ROW);
        sqlite3_reset(kept);
    };
    step();
    Run("SELECT CODE INTO ##TABTEMP FROM DIM");
    step();
    Run(drop);
    step();
    EXPECT_EQ(sqlite3_stmt_status(kept, SQLITE_STMTSTATUS_REPREPARE, 0), 0);
    sqlite3_finalize(kept);

    // Nor does the driver forget what it knows of the company's tables (keys, triggers, defaults), which a
    // change of their own schema makes it read again.
    long lookups = 0;
    testsupport::SqliteStatementHook hook(*conn, [&](sqlite3_stmt*, const char* text) {
        if (std::string_view(text).find("pragma_table_info") != std::string_view::npos) ++lookups;
    });
    auto addCode = [&](const char* code) {
        auto rs = db::Recordset::Create();
        rs->Open("SELECT * FROM DIM WHERE 0 = 1", conn, db::adOpenStatic, db::adLockOptimistic);
        rs->AddNew();
        rs->GetFields()["CODE"].Value(db::Variant(code));
        rs->Update();
    };
    addCode("A1");
    const long known = lookups;
    EXPECT_GT(known, 0);
    Run("SELECT CODE INTO ##TABTEMP FROM DIM");
    Run(drop);
    addCode("A2");
    EXPECT_EQ(lookups, known);
    Run("CREATE TABLE OTHER (X INTEGER)");
    addCode("A3");
    EXPECT_GT(lookups, known);
}

}  // namespace
