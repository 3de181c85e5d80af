// The ADO filter grammar and the SQL Server comparison rules, in the filter and in SQLite itself.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"
#include "db/RecordsetFilter.h"
#include "db/sqlite/Collation.h"

namespace db {
namespace {

// (Case and trailing blanks alone, and both wildcards at either end: FilterTest.TextNumbersDatesNullAndNewRows,
// Contract.CloneSharesRows...)
TEST(SqlServerCollation, CompareAndLikeIgnoreCaseAndTrailingBlanksButNotAccents) {
    using sqlite::CompareSqlServer;
    using sqlite::LikeSqlServer;
    EXPECT_EQ(CompareSqlServer("città", "CITTÀ"), 0);
    EXPECT_NE(CompareSqlServer("citta", "città"), 0);
    EXPECT_NE(CompareSqlServer(" abc", "abc"), 0) << "leading blanks count";
    EXPECT_LT(CompareSqlServer("abc", "ABD"), 0);
    EXPECT_GT(CompareSqlServer("abcd", "ABC"), 0);
    // Codes of one series share long starts, skipped eight bytes at a time; a letter that the skip would cut in
    // two is still compared whole: à (À) sorts before Á, though its second byte is the greater.
    EXPECT_EQ(CompareSqlServer("BENCH-0000001234", "bench-0000001234  "), 0);
    EXPECT_LT(CompareSqlServer("BENCH-0000001234", "BENCH-0000001235"), 0);
    EXPECT_LT(CompareSqlServer("ABCDEFG\xc3\xa0", "ABCDEFG\xc3\x81"), 0);
    EXPECT_TRUE(LikeSqlServer("ABC123", "a%c_23"));
    EXPECT_TRUE(LikeSqlServer("èe", "È%"));
    EXPECT_FALSE(LikeSqlServer("ABC", "_B"));

    // The C++ comparisons of names and codes (SameText) find what the database finds: ÿ, which VB's UCase
    // folds, is not folded; a stray byte is its Latin-1 letter. CodeKey, as the dry runs key codes, ignores
    // trailing blanks. Names are compared eight bytes at a time: only the letters fold, whatever their place in
    // the word, and a character beyond ASCII anywhere is compared as UCase compares it.
    const struct { std::string a, b; bool same; } pairs[] = {
        {"AŸ", "Aÿ", false}, {"ÿabcdefghij", "Ÿabcdefghij", false}, {"città", "CITTÀ", true},
        {"\xE9", "É", true}, {"abcdefghàj", "ABCDEFGHÀJ", true}, {"à", "a", false}, {"abcdefghàj", "abcdefghaj", false},
        {"mg66_codart", "MG66_CODART", true}, {"MG66_CODART", "MG66_CODAR", false},
        {"mg66_codart_mg66", "MG66_CODART_MG66", true}, {"aZ_Mg66_Codart_Q", "Az_mG66_cODART_q", true},
        {"mg66_codart_mg67x", "MG66_CODART_MG66X", false}, {"modalità_articolo", "MODALITÀ_ARTICOLO", true},
        {"éabcdefghij", "Éabcdefghij", true},
        // Next to the letters in the code table: '@' and '`', '[' and '{' differ by the same bit as a case.
        {"`{@[_xyzQ", "@[`{_XYZq", false}, {"ABCD{EFGH", "ABCD[EFGH", false},
    };
    for (const auto& [a, b, same] : pairs) {
        SCOPED_TRACE(a + " / " + b);
        EXPECT_EQ(CompareSqlServer(a, b) == 0, same);
        EXPECT_EQ(SameText(a, b), same);
        EXPECT_EQ(CodeKey(a + "  ") == CodeKey(b), same);
    }
}

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE T (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) COLLATE SQLSERVER, QTY NUMERIC(5,1), "
            "SEL NUMERIC(1,0), DAY DATETIME);"
            "INSERT INTO T VALUES (1, 'ABC  ', 1.5, 1, '2024-01-10 00:00:00');"
            "INSERT INTO T VALUES (2, 'O''Hara', 10, 0, '2024-02-10 00:00:00');"
            "INSERT INTO T VALUES (3, '', 2, 1, NULL);"
            "INSERT INTO T VALUES (4, NULL, NULL, 1, '2024-03-10 12:00:00');"
            "INSERT INTO T VALUES (5, 'abd', 3, 0, '2024-01-10 00:00:00');");
        rs = Recordset::Create();
        rs->Open("SELECT * FROM T ORDER BY ID", conn);
    }

    std::vector<long> Ids(const Variant& filter) {
        rs->Filter(filter);
        std::vector<long> ids;
        for (; !rs->EOF(); rs->MoveNext()) ids.push_back((*rs)["ID"].Value().CLng());
        return ids;
    }

    ConnectionPtr conn;
    RecordsetPtr rs;
};

using IdList = std::vector<long>;

// Text compares as the server does.
TEST_F(FilterTest, TextNumbersDatesNullAndNewRows) {
    const std::pair<const char*, IdList> cases[] = {
        {"CODE = ' '", {3}},  // '' = ' ', and Null matches nothing
        {"CODE <> ''", {1, 2, 5}}, {"CODE = 'O''Hara'", {2}}, {"code > 'ABC'", {2, 5}}, {"CODE LIKE 'ab*'", {1, 5}},
        {"CODE LIKE '%a%'", {1, 2, 5}}, {"CODE NOT LIKE 'ab%'", {2, 3}}, {"SEL = 1", {1, 3, 4}},
        {"QTY >= 2", {2, 3, 5}}, {"QTY < 2.5", {1, 3}}, {"QTY = '10'", {2}}, {"DAY = #2024-01-10#", {1, 5}},
        {"DAY > #02/01/2024#", {2, 4}}, {"CODE = NULL", {4}}, {"CODE IS NOT NULL AND QTY <> NULL", {1, 2, 3, 5}}};
    for (const auto& [filter, ids] : cases) EXPECT_EQ(Ids(filter), ids) << filter;

    // A new row stays visible under the filter that was set.
    rs->Filter(Variant("SEL = 1"));
    rs->AddNew();
    (*rs)["CODE"].Value("X");
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->Filter(Variant("SEL = 1"));
    EXPECT_EQ(rs->RecordCount(), 3) << "re-applied, the filter judges the new row too";
}

}  // namespace
}  // namespace db
