// The ERP schema as the component relies on it, on a connection of the data layer (so the SQLSERVER
// collation is the driver's own): text compares as SQL Server does, keys refuse what the ERP refuses,
// omitted columns take the defaults the copies rely on, the database makes the identifiers, and copying by
// position lines up (the SQL Server script's columns are compared in tests/tsql/scripts_test.cpp).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "Queries.h"
#include "erp/Schema.h"

namespace {

using testsupport::Count;
using testsupport::Rows;
using Texts = std::vector<std::string>;

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { c = testsupport::EmptyCompany(); }
    void Exec(const std::string& sql) { testsupport::Exec(*c, sql); }
    // Column names of a table, in order.
    Texts Columns(const std::string& table) { return Rows(*c, "SELECT name FROM pragma_table_info('" + table + "')"); }
    db::ConnectionPtr c;
};

TEST_F(SchemaTest, TextComparesAsSqlServerDoesOmittedColumnsTakeTheirDefaultsAndCopiesLineUp) {
    Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'abc')");
    EXPECT_EQ(Count(*c, "SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'ABC  '"), 1);
    EXPECT_EQ(Count(*c, "SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'ABD'"), 0);
    EXPECT_EQ(Count(*c, "SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART < 'ABD' AND MG66_CODART > 'AB'"), 1);
    // Unique per company as the collation sees it.
    EXPECT_THROW(Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'ABC ')"), db::Error);
    Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (2, 'abc')");

    // Omitted columns take the defaults the statements rely on: the base article's option is a blank in
    // warehouse tables and empty in fashion tables; both match ''.
    Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66) VALUES (1, 'A')");
    Exec("INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66) VALUES (1, 'A')");
    Exec("INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66) VALUES (1, 'A')");
    EXPECT_EQ(Rows(*c, "SELECT '[' || MG87_OPZIONE_MG5E || MG87_LINGUA_MG52 || ']' FROM MG87_ARTDESC"), Texts{"[  ]"});
    EXPECT_EQ(Rows(*c, "SELECT '[' || PD18_OPZIONE || ']' FROM PD18_ARTPROD"), Texts{"[ ]"});
    EXPECT_EQ(Rows(*c, "SELECT '[' || FA12_OPZIONE_MG5E || ']' FROM FA12_ARTICOLI"), Texts{"[]"});
    EXPECT_EQ(Count(*c, "SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = ''"), 1);

    // Rows are copied by position: company first, article second, option third; the copies skip fields by
    // position, so what they skip must be what must not be copied.
    for (const auto& table : erp::TableNames()) {
        SCOPED_TRACE(table);
        const auto names = Columns(table);
        const std::string p = table.substr(0, 4);
        ASSERT_FALSE(names.empty());
        if (table == "FA13_ATTRIBUTI" || table == "MG73_ARTCLIFOR") continue;  // layouts of their own
        EXPECT_EQ(names[0], p + "_DITTA_CG18");
        const std::string article = table == "MG66_ANAGRART" ? "MG66_CODART" : p + "_CODART_MG66";
        if (names.size() > 1 && names[1] != article) {
            for (const auto& n : names) EXPECT_NE(n, article);
            continue;
        }
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == p + "_OPZIONE_MG5E" || names[i] == p + "_OPZIONE") {
                EXPECT_EQ(i, 2u) << names[i];
            }
    }
    EXPECT_EQ(Columns("MG4N_ARTTRALIM")[2], "MG4N_GUID");  // traceability is copied from the fourth field on
}

// Time-ordered: the milliseconds since 1970 in the first twelve digits, then version 7.
TEST_F(SchemaTest, TheDatabaseMakesDistinctTimeOrderedIdentifiersForLinksArticlesLotsAndCycles) {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    Exec("INSERT INTO FA63_AGGANCI (FA63_DITTA_CG18, FA63_CODART_MG66) VALUES (1, 'M')");
    Exec("INSERT INTO FA64_AGGANCIDET (FA64_DITTA_CG18, FA64_GUID_FA63, FA64_CODTESS_FA12, FA64_DESCRIZIONE) "
         "SELECT 1, FA63_GUID, 'T1', 'D' FROM FA63_AGGANCI");
    Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'M')");
    Exec("INSERT INTO MG4G_ANAGRLOTTI (MG4G_DITTA_CG18, MG4G_CODART_MG66, MG4G_CODLOTTO) VALUES (1, 'M', 'L1')");
    Exec("INSERT INTO MG4N_ARTTRALIM (MG4N_DITTA_CG18, MG4N_CODART_MG66, MG4N_CODTRACC) VALUES (1, 'M', 'T')");
    Exec("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE) VALUES (1, 'M')");
    std::set<std::string> seen;
    for (const std::string table : {"FA63_AGGANCI", "FA64_AGGANCIDET", "MG66_ANAGRART", "MG4G_ANAGRLOTTI",
                                    "MG4N_ARTTRALIM", "PD52_ANAGCICLI"}) {
        const std::string id = testsupport::Scalar(*c, "SELECT " + table.substr(0, 4) + "_GUID FROM " + table).Text();
        ASSERT_EQ(id.size(), 36u) << table;
        EXPECT_LT(std::llabs(std::stoll(id.substr(0, 8) + id.substr(9, 4), nullptr, 16) - now), 60000) << id;
        EXPECT_EQ(id[14], '7') << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 6u);
}

}  // namespace
