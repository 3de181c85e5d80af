// The T-SQL -> SQLite dialect adapter: the text it writes for each construct, and the constructs it refuses.
// (The results functions and casts give are checked in tsql_statements_test.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/Error.h"
#include "db/sqlite/TsqlTranslator.h"

namespace {

using db::sqlite::TranslateTsql;
using db::sqlite::TsqlTranslationCache;

std::vector<std::string> All(const std::string& tsql) { return TranslateTsql(tsql).statements; }

// The one statement a text translates to.
std::string One(const std::string& tsql) {
    const std::vector<std::string> s = All(tsql);
    EXPECT_EQ(s.size(), 1u) << tsql;
    return s.empty() ? std::string() : s[0];
}

// The description of the error the translation (by the cache when given) raises ("" when it raises none).
std::string Refusal(const std::string& tsql, TsqlTranslationCache* cache = nullptr) {
    try {
        cache ? (void)cache->Translate(tsql) : (void)TranslateTsql(tsql);
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), db::errc::UnsupportedSql);
        EXPECT_EQ(e.Source(), "TsqlTranslator");
        return e.Description();
    }
    return "";
}

// Each construct and the text the adapter writes for it.
TEST(TsqlTranslation, EachConstructIsWrittenAsSqliteReadsItAndBatchesSplitIntoStatements) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        // Quotes, comments, names and glued numbers are resolved.
        {"SELECT [a]]b], N'it''s', \"q\"\"x\" FROM [dbo].[T] x -- comment\r\n"
         "/* outer /* nested */ still comment */ WHERE x.[k] = 1",
         "SELECT \"a]b\", 'it''s', \"q\"\"x\" FROM \"T\" x WHERE x.\"k\" = 1"},
        // Quotes and comment markers inside strings are text.
        {"SELECT 'a -- b /* c', '[x]' FROM t", "SELECT 'a -- b /* c', '[x]' FROM t"},
        // "... =" + company + "AND ..." leaves no blank between the company and AND.
        {"SELECT MAX(P) FROM L WHERE D =1AND F =0 AND C = 'X'",
         "SELECT MAX(P) FROM L WHERE D = 1 AND F = 0 AND C = 'X'"},
        {"SELECT 1.5e+2, .5, 2. FROM t", "SELECT 1.5e+2, .5, 2. FROM t"},
        // Lock hints are dropped, even when glued to the next word.
        {"SELECT * FROM T WITH (NOLOCK)WHERE A = 1", "SELECT * FROM T WHERE A = 1"},
        {"SELECT * FROM T WITH(UPDLOCK, ROWLOCK) INNER JOIN U WITH (NOLOCK)ON U.K = T.K",
         "SELECT * FROM T INNER JOIN U ON U.K = T.K"},
        {"SELECT * FROM T (NOLOCK) WHERE A = 1", "SELECT * FROM T WHERE A = 1"},
        {"SELECT a FROM t WITH (NOLOCK, INDEX(ix_a)) WHERE b = (SELECT c FROM u WITH (NOLOCK))",
         "SELECT a FROM t WHERE b = (SELECT c FROM u)"},
        // TOP becomes LIMIT after ORDER BY, in subqueries and union members too.
        {"SELECT TOP 1 * FROM C WHERE D = 1 AND NOT EXISTS (SELECT K FROM C WHERE D = 1) ORDER BY V",
         "SELECT * FROM C WHERE D = 1 AND NOT EXISTS (SELECT K FROM C WHERE D = 1) ORDER BY V LIMIT 1"},
        {"SELECT DISTINCT TOP (5) a FROM t ORDER BY a", "SELECT DISTINCT a FROM t ORDER BY a LIMIT (5)"},
        {"SELECT a, (SELECT TOP 1 b FROM u WHERE u.k = t.k ORDER BY b DESC) FROM t",
         "SELECT a, (SELECT b FROM u WHERE u.k = t.k ORDER BY b DESC LIMIT 1) FROM t"},
        // TOP limits its own member; ORDER BY orders the whole union.
        {"SELECT a FROM t UNION ALL SELECT TOP 2 b FROM u ORDER BY 1",
         "SELECT a FROM t UNION ALL SELECT * FROM (SELECT b FROM u LIMIT 2) ORDER BY 1"},
        // SELECT ... INTO creates a table from the query.
        {"SELECT a INTO #Work FROM t", "CREATE TABLE tempdb.Work AS SELECT a FROM t"},
        {"SELECT a INTO NEWT FROM t", "CREATE TABLE NEWT AS SELECT a FROM t"},
        {"SELECT a INTO #U FROM t UNION SELECT b FROM u",
         "CREATE TABLE tempdb.U AS SELECT a FROM t UNION SELECT b FROM u"},
        // A temporary table's guarded drop becomes DROP TABLE IF EXISTS.
        {"IF OBJECT_ID('tempdb..#X', 'U') IS NOT NULL DROP TABLE #X", "DROP TABLE IF EXISTS tempdb.X"},
        {"IF OBJECT_ID('dbo.T') IS NOT NULL DROP TABLE dbo.T", "DROP TABLE IF EXISTS T"},
        // The target and its hint leave the FROM list; join conditions move to WHERE. (An aliased target, and the
        // global temporary tables and list idiom the component writes, are run in tsql_statements_test.cpp.)
        {"UPDATE T SET x = x, y = 'L' FROM T WITH (NOLOCK) INNER JOIN U ON T.g = U.g AND T.e = 3 WHERE U.z = 1",
         "UPDATE T SET x = x, y = 'L' FROM U WHERE (T.g = U.g AND T.e = 3) AND (U.z = 1)"},
        {"UPDATE T SET x = U.y FROM T, U WHERE U.k = T.k", "UPDATE T SET x = U.y FROM U WHERE U.k = T.k"},
        {"UPDATE T SET x = U.b FROM U INNER JOIN T ON U.a = T.a INNER JOIN V ON V.c = U.c WHERE V.d = 2",
         "UPDATE T SET x = U.b FROM U, V WHERE (U.a = T.a) AND (V.c = U.c) AND (V.d = 2)"},
        // A LEFT JOIN after the target keeps its meaning and its ON clause.
        {"UPDATE T SET x = 1 FROM T INNER JOIN U ON U.a = T.a LEFT JOIN V ON V.c = U.c",
         "UPDATE T SET x = 1 FROM U LEFT JOIN V ON V.c = U.c WHERE (U.a = T.a)"},
        // Without FROM, or with the target absent from it, the statement is SQLite's already.
        {" UPDATE     MG66_ANAGRART SET     MG66_FLGVARART=1 WHERE     MG66_DITTA_CG18=1     AND MG66_CODART='N'",
         "UPDATE MG66_ANAGRART SET MG66_FLGVARART = 1 WHERE MG66_DITTA_CG18 = 1 AND MG66_CODART = 'N'"},
        {"UPDATE T SET x = U.y FROM U WHERE U.k = T.k", "UPDATE T SET x = U.y FROM U WHERE U.k = T.k"},
        // The list idiom STUFF((... FOR XML PATH('')), 1, n, '') becomes an ordered group_concat.
        {"SELECT o.k, STUFF((SELECT DISTINCT TOP 3 ';' + c FROM t WHERE t.k = o.k ORDER BY ';' + c DESC "
         "FOR XML PATH('')), 1, 1, '') FROM o",
         "SELECT o.k, (SELECT group_concat(tsql_item, ';') FROM (SELECT DISTINCT c AS tsql_item FROM t "
         "WHERE t.k = o.k ORDER BY tsql_add(';', c) DESC LIMIT 3)) FROM o"},
        // A cut shorter than the separator, and a bare FOR XML.
        {"SELECT STUFF((SELECT '; ' + c FROM t FOR XML PATH('')), 1, 1, '') FROM o",
         "SELECT (' ' || (SELECT group_concat(tsql_item, '; ') FROM (SELECT c AS tsql_item FROM t))) FROM o"},
        {"SELECT (SELECT ',' + c FROM t FOR XML PATH('')) FROM o",
         "SELECT (SELECT group_concat(tsql_item, '') FROM (SELECT tsql_add(',', c) AS tsql_item FROM t)) FROM o"},
        // + is decided by what the operands are known to be.
        {"SELECT 'a' + 'b', 1 + 2 * 3, 'x' + CAST(n AS VARCHAR(5)), UPPER(a) + 'z' FROM t",
         "SELECT ('a' || 'b'), 1 + 2 * 3, ('x' || substr(CAST(n AS TEXT), 1, 5)), (UPPER(a) || 'z') FROM t"},
        // A column of unknown type: tsql_add decides per row.
        {"SELECT a + b, ', ' + c + '' FROM t", "SELECT tsql_add(a, b), tsql_add(tsql_add(', ', c), '') FROM t"},
        // A number on either side: SQL Server adds (converting text), as SQLite's + does.
        {"SELECT a + 1, -a + b * 2 FROM t", "SELECT a + 1, -a + b * 2 FROM t"},
        // || binds tighter than * in SQLite: products are bracketed.
        {"SELECT 'n' + CAST(a * 2 AS VARCHAR(9)) + 'x' FROM t",
         "SELECT (('n' || substr(CAST(a * 2 AS TEXT), 1, 9)) || 'x') FROM t"},
        {"SELECT a * b + c & 3 FROM t", "SELECT (a * b + c) & 3 FROM t"},
        {"UPDATE t SET a = a + 'x' WHERE b = c + d", "UPDATE t SET a = tsql_add(a, 'x') WHERE b = tsql_add(c, d)"},
        // A piece of a text keeps the ERP's case-insensitive comparison, wherever it stands.
        {"SELECT a FROM t WHERE LEFT(a, 3) = 'x' AND RIGHT(a, 2) = SUBSTRING(a, 2, 3)",
         "SELECT a FROM t WHERE (substr(a, 1, 3) COLLATE SQLSERVER) = 'x' AND "
         "(substr(a, max(length(a) - (2) + 1, 1)) COLLATE SQLSERVER) = (substr(a, 2, 3) COLLATE SQLSERVER)"},
        {"SELECT 'k' + LEFT(a, 1) AS c INTO #W FROM t WITH (NOLOCK) ORDER BY SUBSTRING(a, 0, 2)",
         "CREATE TABLE tempdb.W AS SELECT ('k' || (substr(a, 1, 1) COLLATE SQLSERVER)) AS c FROM t "
         "ORDER BY (substr(a, max(0, 1), (2) + min(0, 1) - 1) COLLATE SQLSERVER)"},
        {"UPDATE T SET x = LEFT(U.y, 2) FROM T INNER JOIN U ON U.k = T.k WHERE RIGHT(U.k, 3) = 'abc'",
         "UPDATE T SET x = (substr(U.y, 1, 2) COLLATE SQLSERVER) FROM U "
         "WHERE (U.k = T.k) AND ((substr(U.k, max(length(U.k) - (3) + 1, 1)) COLLATE SQLSERVER) = 'abc')"},
        // Alias assignments, temporary names and operators.
        {"SELECT n = COUNT(*), [x y] = a, 'lbl' = b FROM t", "SELECT COUNT(*) AS n, a AS \"x y\", b AS \"lbl\" FROM t"},
        {"SELECT ##T.a FROM ##T WHERE b !< 3 AND c !> 4", "SELECT tempdb.T.a FROM tempdb.T WHERE b >= 3 AND c <= 4"},
        {"SELECT a FROM t WHERE d > CURRENT_TIMESTAMP",
         "SELECT a FROM t WHERE d > strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')"},
    };
    for (const auto& [tsql, sqlite] : cases) EXPECT_EQ(One(tsql), sqlite) << tsql;

    // A batch splits into statements at semicolons and at the words that start a statement.
    EXPECT_EQ(All("SET NOCOUNT ON; SELECT 1;; SELECT 2;"), (std::vector<std::string>{"SELECT 1", "SELECT 2"}));
    EXPECT_EQ(All("IF OBJECT_ID('T') IS NOT NULL DROP TABLE T\r\nSELECT a INTO T FROM u\r\nUPDATE T SET a = 1\r\n"
                  "SELECT * FROM T"),
              (std::vector<std::string>{"DROP TABLE IF EXISTS T", "CREATE TABLE T AS SELECT a FROM u",
                                        "UPDATE T SET a = 1", "SELECT * FROM T"}));
    EXPECT_EQ(All("INSERT INTO T (a) SELECT b FROM u UNION SELECT c FROM v SELECT 1"),
              (std::vector<std::string>{"INSERT INTO T(a) SELECT b FROM u UNION SELECT c FROM v", "SELECT 1"}));
    EXPECT_EQ(All("INSERT T VALUES (1, N'a') DELETE T WHERE a = 1"),
              (std::vector<std::string>{"INSERT INTO T VALUES (1, 'a')", "DELETE FROM T WHERE a = 1"}));
    EXPECT_TRUE(All("  \r\n -- nothing\r\n ;").empty());

    // Standard SQL passes through.
    const std::vector<std::string> same = {
        "INSERT INTO t(a, b) VALUES (?, ?2)",
        "UPDATE t SET a = ? WHERE rowid = ?",
        "SELECT a, b FROM t WHERE c IN (1, 2) AND d LIKE 'x%' GROUP BY a, b HAVING COUNT(*) > 1 ORDER BY a DESC",
        "SELECT CASE WHEN a = 1 THEN 'x' ELSE 'y' END FROM t LEFT JOIN u ON u.k = t.k",
    };
    for (const std::string& s : same) EXPECT_EQ(One(s), s);
    EXPECT_EQ(One("TRUNCATE TABLE t"), "DELETE FROM t");
    EXPECT_EQ(One("SELECT 'k' + ? FROM t"), "SELECT tsql_add('k', ?) FROM t");
}

// Every construct without a faithful SQLite form is refused (error 3002), naming it.
TEST(TsqlRefusals, ConstructsWithoutAFaithfulFormAreNamed) {
    const std::string kStuff = "STUFF outside the FOR XML PATH('') list idiom";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SELECT 'abc FROM t", "unterminated string literal"},
        {"SELECT [abc FROM t", "unterminated [quoted name]"},
        {"SELECT 1 /* open /* nested */", "unterminated comment"},
        {"SELECT 1) FROM t", "unbalanced parenthesis"},
        {"SELECT {fn NOW()}", "character '{'"},
        {"SELECT 0x1F", "binary literal 0x..."},
        {"SELECT a FROM t WITH (NOLOCK, NOPE)", "table hint NOPE"},
        {"SELECT TOP 10 PERCENT a FROM t", "TOP PERCENT"},
        {"SELECT TOP 1 WITH TIES a FROM t ORDER BY a", "TOP WITH TIES"},
        {"UPDATE TOP (1) t SET a = 1", "UPDATE TOP"},
        {"DELETE TOP (1) FROM t", "DELETE TOP"},
        {"IF NOT OBJECT_ID('tempdb..##A') IS NULL DROP TABLE ##B", "IF OBJECT_ID(...) DROP TABLE of another table"},
        {"IF EXISTS (SELECT 1 FROM t) DELETE FROM t", "IF other than IF OBJECT_ID(...) IS NOT NULL DROP TABLE"},
        {"IF OBJECT_ID('T') IS NOT NULL DELETE FROM T", "IF other than IF OBJECT_ID(...) IS NOT NULL DROP TABLE"},
        {"UPDATE T SET x = 1 FROM T LEFT JOIN U ON U.k = T.k",
         "UPDATE ... FROM with a LEFT JOIN from the updated table"},
        {"UPDATE T SET x = 1 FROM U RIGHT JOIN T ON U.a = T.a", "UPDATE ... FROM with RIGHT or FULL JOIN"},
        {"UPDATE T SET x = 1 FROM T CROSS APPLY f(T.a) g", "CROSS APPLY"},
        {"UPDATE T SET x = 1 FROM T INNER JOIN T ON 1 = 1", "UPDATE target named twice in FROM"},
        {"UPDATE T SET x += 1", "compound assignment +="},
        {"SELECT GETDATE() + 1", "date arithmetic with +"},
        {"SELECT CAST(a AS DATETIME) FROM t", "CAST to DATETIME"},
        {"SELECT CONVERT(VARCHAR(10), d, 103) FROM t", "CONVERT with a style"},
        {"SELECT DATEADD(day, 1, d) FROM t", "function DATEADD"},
        {"SELECT CHARINDEX('a', b, 3) FROM t", "CHARINDEX with a start position"},
        {"SELECT ISNULL(a) FROM t", "ISNULL with 1 arguments"},
        {"SELECT STUFF(a, 1, 1, '') FROM t", kStuff},
        {"SELECT STUFF((SELECT ', ' + c FROM t FOR XML PATH('')), 1, 3, '')", kStuff},
        {"SELECT STUFF((SELECT c + ', ' FROM t FOR XML PATH('')), 1, 2, '')", kStuff},
        {"SELECT (SELECT ',' + c FROM t FOR XML PATH('row'))", "FOR XML other than PATH('')"},
        {"SELECT (SELECT ',' + c AS v FROM t FOR XML PATH(''))",
         "FOR XML PATH('') with a named column or more than one column"},
        {"SELECT a FROM t FOR XML PATH('')", "FOR XML"},
        {"SELECT a FROM t FOR JSON AUTO", "FOR JSON"},
        {"MERGE INTO t USING u ON t.k = u.k WHEN MATCHED THEN UPDATE SET a = 1;", "MERGE"},
        {"INSERT INTO t (a) OUTPUT inserted.a VALUES (1)", "OUTPUT clause"},
        {"SELECT * FROM t CROSS APPLY f(t.a)", "CROSS APPLY"},
        {"SELECT * FROM t PIVOT (SUM(a) FOR b IN (x, y)) p", "PIVOT"},
        {"BEGIN TRY SELECT 1 END TRY BEGIN CATCH SELECT 2 END CATCH", "BEGIN TRY ... END CATCH"},
        {"BEGIN TRAN", "BEGIN TRANSACTION"},
        {"DECLARE @x INT", "DECLARE"},
        {"EXEC SPMG_DUPLICAART 1", "EXEC"},
        {"SELECT a FROM t OPTION (RECOMPILE)", "OPTION (...)"},
        {"SELECT a FROM t ORDER BY a OFFSET 5 ROWS FETCH NEXT 5 ROWS ONLY", "OFFSET ... FETCH"},
        {"SELECT a FROM t WHERE b = @code", "variable @code"},
        {"SELECT @@IDENTITY", "variable @@IDENTITY"},
        {"SET XACT_ABORT ON", "SET XACT_ABORT"},
        {"SET @x = 1", "SET @x"},
        {"SELECT a COLLATE Latin1_General_CI_AS FROM t", "COLLATE"},
        {"SELECT a FROM t WHERE b LIKE '[a-c]%'", "LIKE pattern with [...]"},
        {"DELETE t FROM t INNER JOIN u ON u.k = t.k", "DELETE with a FROM join"},
        {"CREATE PROCEDURE p AS SELECT 1", "CREATE PROCEDURE"},
        {"WHILE 1 = 1 SELECT 1", "WHILE"},
        {"PRINT 'x'", "PRINT"},
        {"DROP TABLE a, b", "DROP of several objects"},
    };
    for (const auto& [tsql, construct] : cases)
        EXPECT_EQ(Refusal(tsql), "Unsupported T-SQL construct: " + construct) << tsql;
}

TEST(TsqlCache, MemoisesByTextForgetsTheOldestAndKeepsNoFailure) {
    TsqlTranslationCache cache(2);  // a text is kept from its second translation on: TranslationByShape
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Refusal("MERGE INTO t USING u ON 1 = 1", &cache), "Unsupported T-SQL construct: MERGE");
    EXPECT_EQ(cache.Size(), 0u);
    for (const char* text : {"SELECT TOP 1 a FROM t", "SELECT TOP 1 a FROM t", "SELECT 1", "SELECT 1", "SELECT 2",
                             "SELECT 2"})
        cache.Translate(text);
    EXPECT_EQ(cache.Size(), 2u);
}

}  // namespace
