// Statements that differ only in the values they carry: translated once per shape and prepared once, with
// each statement's own values put back; the results are those of the statement as written.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"
#include "db/sqlite/BoundLiterals.h"
#include "db/sqlite/LiteralShape.h"
#include "db/sqlite/TsqlTranslator.h"

#include "SqliteStatementHook.h"

namespace db::sqlite {
namespace {

// The statement with every occurrence of `from` replaced by `to`.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> Direct(const std::string& tsql) { return TranslateTsql(tsql).statements; }

TEST(TranslationByShape, StatementsDifferingInValuesShareOneTranslationButNotTheValuesItReads) {
    TsqlTranslationCache cache;
    cache.Translate("SELECT * FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = 1 AND MG66_CODART = 'A'");
    EXPECT_EQ(cache.Size(), 0u);
    const auto second =
        cache.Translate("SELECT * FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = 2 AND MG66_CODART = 'B''C'");
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(second.statements, std::vector<std::string>{
                                     "SELECT * FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = 2 AND MG66_CODART = 'B''C'"});

    // Values the translation reads are translated with the statement. A LIKE pattern is checked for
    // character classes, whatever pattern came before it.
    cache.Translate("SELECT A FROM T WHERE B LIKE 'X%'");
    EXPECT_THROW(cache.Translate("SELECT A FROM T WHERE B LIKE '[A-C]%'"), Error);
    // The list idiom's separator decides what is cut from the list.
    const std::string list = "SELECT STUFF((SELECT ', ' + C FROM T FOR XML PATH('')), 1, 2, '') AS L";
    for (const std::string& tsql : {list, Replace(list, "', '", "'; '"), Replace(list, "', '", "' - '")})
        EXPECT_EQ(cache.Translate(tsql).statements, Direct(tsql)) << tsql;
    // A name written as a string ('Name' = expression) is no value.
    for (const std::string tsql : {"SELECT 'Nome' = A FROM T", "SELECT 'Altro' = A FROM T"})
        EXPECT_EQ(cache.Translate(tsql).statements, Direct(tsql)) << tsql;
    // Numbers other than compared or assigned ones are part of the shape.
    for (const std::string tsql : {"SELECT TOP 3 A FROM T WHERE B = 5", "SELECT TOP 4 A FROM T WHERE B = 6",
                                   "SELECT CAST(A AS CHAR(3)) FROM T", "SELECT CAST(A AS CHAR(5)) FROM T",
                                   "SELECT CAST(2.5 AS DECIMAL(5,0)) FROM T WHERE B = 2"})
        EXPECT_EQ(cache.Translate(tsql).statements, Direct(tsql)) << tsql;
}

// The literals taken out of a statement: for a shape (put back into its translation) and for parameters.
TEST(Literals, ShapedAndBoundWhereTheyAreValuesAndAMovedPlaceholderIsRefused) {
    const LiteralShape s =
        ShapeLiterals("SELECT [it's] FROM T -- it's\n WHERE A = N'x''y' AND B = 12 AND C = 1.5 AND D > 3");
    ASSERT_EQ(s.values.size(), 2u);
    EXPECT_FALSE(s.values[0].number);
    EXPECT_EQ(s.values[0].text, "x'y");
    EXPECT_TRUE(s.values[1].number);
    EXPECT_EQ(s.values[1].text, "12");
    EXPECT_NE(s.text.find("[it's]"), std::string::npos);
    EXPECT_NE(s.text.find("-- it's"), std::string::npos);
    EXPECT_NE(s.text.find("C = 1.5 AND D > 3"), std::string::npos);
    EXPECT_NE(s.text.find("A = N'"), std::string::npos);  // the prefix stays: the placeholder is a Unicode string too
    EXPECT_FALSE(ShapeLiterals("IF NOT OBJECT_ID('tempdb..##T') IS NULL DROP TABLE ##T").Shaped());
    EXPECT_FALSE(ShapeLiterals("SELECT A FROM T WHERE B = 'unterminated").Shaped());

    const std::vector<ShapedValue> values{{false, "a"}};
    EXPECT_FALSE(FillLiterals({"SELECT 1 AS \"\x01" "0\x01\""}, values));  // turned into a name
    EXPECT_FALSE(FillLiterals({"SELECT 1"}, values));                      // dropped
    EXPECT_FALSE(FillLiterals({"SELECT '\x01" "0\x01', '\x01" "0\x01'"}, values));  // doubled
    EXPECT_EQ(*FillLiterals({"SELECT '\x01" "0\x01'"}, {{false, "it's"}}), std::vector<std::string>{"SELECT 'it''s'"});

    // Values of data statements become parameters: a string (shown quoted here) or a whole number.
    const auto bound = [](const BoundLiterals& b) {
        std::vector<std::string> shown;
        for (const auto& v : b.values) shown.push_back(v.number ? std::to_string(v.integer) : "'" + v.text + "'");
        return shown;
    };
    BoundLiterals b = BindLiterals("SELECT * FROM T WHERE A = 'x''y' AND B = 12 AND C >= 3");
    EXPECT_EQ(b.sql, "SELECT * FROM T WHERE A = :agg_literal_0 AND B = :agg_literal_1 AND C >= :agg_literal_2");
    EXPECT_EQ(bound(b), (std::vector<std::string>{"'x'y'", "12", "3"}));
    // A national text, as a statement in common SQL may have it; the N of a name stays.
    b = BindLiterals("UPDATE T SET A = N'Ελλάδα', B = 'N', C = IN'x' WHERE D = 1");
    EXPECT_EQ(b.sql,
              "UPDATE T SET A = :agg_literal_0, B = :agg_literal_1, C = IN:agg_literal_2 WHERE D = :agg_literal_3");
    EXPECT_EQ(bound(b), (std::vector<std::string>{"'Ελλάδα'", "'N'", "'x'", "1"}));

    // Quotes, "=" and dashes inside a literal or a quoted name belong to it: the scan goes on after it.
    b = BindLiterals("UPDATE T SET A = 'a=b--c''d', [x=y] = 4, \"q'r\" = '/*' WHERE B = 7");
    EXPECT_EQ(b.sql, "UPDATE T SET A = :agg_literal_0, [x=y] = :agg_literal_1, \"q'r\" = :agg_literal_2 "
                     "WHERE B = :agg_literal_3");
    EXPECT_EQ(bound(b), (std::vector<std::string>{"'a=b--c'd'", "4", "'/*'", "7"}));

    // What stays written.
    EXPECT_FALSE(BindLiterals("CREATE TABLE T (A TEXT DEFAULT 'x')").Rewritten());
    EXPECT_FALSE(BindLiterals("PRAGMA user_version = 5").Rewritten());
    EXPECT_EQ(BindLiterals("SELECT A AS 'Nome', X'0A' FROM T ORDER BY 1 LIMIT 5").Rewritten(), false);
    EXPECT_EQ(BindLiterals("SELECT A FROM T WHERE B = 1.5 OR C = 2e3").Rewritten(), false);
    std::string many = "SELECT 1 WHERE 'a' IN ('a'";
    for (std::size_t i = 0; i < kMaxBoundLiterals; ++i) many += ", 'a'";
    EXPECT_FALSE(BindLiterals(many + ")").Rewritten());
}

class BoundStatements : public ::testing::Test {
protected:
    void SetUp() override {
        conn = Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE A (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) COLLATE SQLSERVER NOT NULL, N INTEGER);");
    }
    Variant Scalar(const std::string& sql) {
        auto rs = conn->Execute(sql);
        if (rs->RecordCount() == 0) return Variant::Null();
        return rs->GetFields()[0L].Value();
    }
    // A new row with this one value, its edit ended by Update.
    static void Add(Recordset& rs, const char* field, const Variant& value) {
        rs.AddNew();
        rs.GetFields()[field].Value(value);
        rs.Update();
    }
    ConnectionPtr conn;
};

TEST_F(BoundStatements, StatementsDifferingInValuesArePreparedOnceAndRunAsWritten) {
    conn->Execute("INSERT INTO A (ID, CODE, N) VALUES (1, 'K1', 10)");
    conn->Execute("INSERT INTO A (ID, CODE, N) VALUES (2, 'K''2', 20)");
    conn->Execute("UPDATE A SET N = 11 WHERE CODE = 'K1'");
    conn->Execute("UPDATE A SET N = 21 WHERE CODE = 'K''2'");  // the second of its shape: kept from here on
    const std::size_t cached = conn->GetDriver().CachedStatementCount();
    conn->Execute("UPDATE A SET N = 31 WHERE CODE = 'K3'");
    EXPECT_EQ(conn->GetDriver().CachedStatementCount(), cached);
    EXPECT_EQ(Scalar("SELECT N FROM A WHERE CODE = 'K1'").CLng(), 11);
    EXPECT_EQ(Scalar("SELECT N FROM A WHERE CODE = 'K''2'").CLng(), 21);

    // A literal in the result list names its column: such a statement runs with its literals, every time.
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const std::string v = "v" + std::to_string(i);
        auto rs = conn->Execute("SELECT '" + v + "', N FROM A WHERE CODE = 'K1'");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->GetFields()[0L].Name(), "'" + v + "'");
        EXPECT_EQ(rs->GetFields()[0L].Value().Text(), v);
        EXPECT_EQ(rs->GetFields()[1L].Value().CLng(), 11);
    }

    // A bound value compares as the literal does: the column's collation (trailing blanks, case) and
    // affinity (text against a number) still apply.
    conn->Execute("INSERT INTO A (ID, CODE, N) VALUES (5, 'abc', 7)");
    EXPECT_EQ(Scalar("SELECT ID FROM A WHERE CODE = 'ABC   '").CLng(), 5);
    EXPECT_EQ(Scalar("SELECT ID FROM A WHERE N = '7'").CLng(), 5);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM A WHERE N = '7.5'").CLng(), 0);

    // Faults see the statement as written. (An error naming it so is part of the driver contract.)
    conn->Faults().FailMatching("CODE = 'K1'");
    EXPECT_THROW(conn->Execute("UPDATE A SET N = 1 WHERE CODE = 'K1'"), Error);
}

// A kept statement binds its literals by the numbers it found the first time; markers before or between
// them move those numbers.
TEST_F(BoundStatements, LiteralsAfterAndBetweenMarkersAreBoundToTheirOwnParameters) {
    for (int i = 1; i <= 4; ++i) {
        const std::string n = std::to_string(i);
        conn->ExecuteWith("INSERT INTO A (ID, CODE, N) VALUES (?, 'K" + n + "', " + n + "0)", {{"", Variant(i)}});
        conn->ExecuteWith("UPDATE A SET CODE = 'M" + n + "', N = ? WHERE ID = " + n, {{"", Variant(i * 100)}});
    }
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Scalar("SELECT CODE FROM A WHERE ID = " + std::to_string(i)).Text(), "M" + std::to_string(i));
        EXPECT_EQ(Scalar("SELECT N FROM A WHERE ID = " + std::to_string(i)).CLng(), i * 100);
    }
}

// A table made again with another key, or with other columns: what the driver knew of the old one is
// forgotten, and a kept statement, which describes its columns once, describes them anew.
TEST_F(BoundStatements, ATableMadeAgainIsWrittenByItsNewKeyAndDescribedAnew) {
    conn->Execute("CREATE TABLE temp.X (K INTEGER PRIMARY KEY, V TEXT)");
    auto rs = Recordset::Create();
    rs->Open("SELECT * FROM temp.X", conn, adOpenStatic, adLockOptimistic);
    rs->Close();
    conn->Execute("DROP TABLE temp.X");
    conn->Execute("CREATE TABLE temp.X (K INTEGER, V TEXT PRIMARY KEY)");
    conn->Execute("INSERT INTO temp.X VALUES (1, 'a'); INSERT INTO temp.X VALUES (1, 'b')");
    rs->Open("SELECT * FROM temp.X WHERE V = 'b'", conn, adOpenStatic, adLockOptimistic);
    rs->GetFields()["K"].Value(Variant(2));
    rs->Update();
    EXPECT_EQ(Scalar("SELECT K FROM temp.X WHERE V = 'a'").CLng(), 1);
    EXPECT_EQ(Scalar("SELECT K FROM temp.X WHERE V = 'b'").CLng(), 2);

    conn->Execute("CREATE TABLE temp.Y (K INTEGER, V TEXT)");
    conn->Execute("INSERT INTO temp.Y VALUES (1, 'a')");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(conn->Execute("SELECT * FROM temp.Y")->GetFields()["V"].Value().CStr(), "a");
    conn->Execute("DROP TABLE temp.Y");
    conn->Execute("CREATE TABLE temp.Y (W NUMERIC(5,2), K INTEGER, Z TEXT)");
    conn->Execute("INSERT INTO temp.Y VALUES (2.5, 7, 'z')");
    auto described = conn->Execute("SELECT * FROM temp.Y");
    auto fields = described->GetFields();
    ASSERT_EQ(fields.Count(), 3);
    EXPECT_EQ(fields[0L].Name(), "W");
    EXPECT_EQ(fields[0L].Precision(), 5);
    EXPECT_EQ(fields["Z"].Value().CStr(), "z");
    EXPECT_EQ(fields.IndexOf("V"), -1);
}

// A new row comes back as the database made it (table defaults: the contract). A row's write is a unit of
// its own only when it needs one: a single row written by one statement is undone by the database, a batch
// of rows gets a savepoint. A number its column's decimal cannot hold is read back as stored, so the insert
// that wrote it does not fail after writing it.
TEST_F(BoundStatements, ANewRowIsReadBackAsStoredAndGetsASavepointOnlyInABatch) {
    // A default the column's decimal cannot hold: only the database writes such a value.
    conn->GetDriver().RunScript(
        "CREATE TABLE Q (ID INTEGER PRIMARY KEY, AMOUNT NUMERIC(18,5) DEFAULT 100000000000000, NOTE TEXT);");
    long savepoints = 0;
    testsupport::SqliteStatementHook hook(*conn, [&](sqlite3_stmt*, const char* text) {
        if (std::string_view(text).starts_with("SAVEPOINT")) ++savepoints;
    });
    auto rs = Recordset::Create();
    rs->Open("SELECT * FROM Q WHERE 0 = 1", conn, adOpenStatic, adLockOptimistic);
    Add(*rs, "NOTE", Variant("default amount"));
    EXPECT_EQ(savepoints, 0);
    EXPECT_EQ(rs->GetFields()["AMOUNT"].Value().CDbl(), 1e14);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Q").CLng(), 1);
    EXPECT_EQ(Scalar("SELECT AMOUNT FROM Q").CDbl(), 1e14);

    auto batch = Recordset::Create();
    batch->Open("SELECT * FROM Q WHERE 0 = 1", conn, adOpenStatic, adLockBatchOptimistic);
    for (double amount : {1.5, 2.5}) Add(*batch, "AMOUNT", Variant(amount));
    batch->UpdateBatch();
    EXPECT_EQ(savepoints, 1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Q").CLng(), 3);

    // A trigger's change is read back too.
    conn->GetDriver().RunScript(
        "CREATE TABLE G (ID INTEGER PRIMARY KEY, CODE TEXT);"
        "CREATE TRIGGER G_UPPER AFTER INSERT ON G BEGIN UPDATE G SET CODE = upper(CODE) WHERE ID = NEW.ID; END;");
    auto g = Recordset::Create();
    g->Open("SELECT * FROM G WHERE 0 = 1", conn, adOpenStatic, adLockOptimistic);
    Add(*g, "CODE", Variant("abc"));
    EXPECT_EQ(g->GetFields()["ID"].Value().CLng(), 1);
    EXPECT_EQ(g->GetFields()["CODE"].Value().Text(), "ABC");

    // The read that follows such an insert is part of its unit: when it fails, the row is not left written.
    conn->BeginTrans();
    conn->Faults().FailMatching("FROM G WHERE _ROWID_");
    g->AddNew();
    g->GetFields()["CODE"].Value(Variant("def"));
    EXPECT_THROW(g->Update(), Error);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM G").CLng(), 1);
    conn->RollbackTrans();
}

}  // namespace
}  // namespace db::sqlite
