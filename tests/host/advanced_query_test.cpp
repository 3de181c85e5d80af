// The advanced query control: the condition text it gives the form, and that no typed value can change
// the statement's shape.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/DemoBuilder.h"
#include "host/controls/AdvancedQuery.h"

namespace {

using entry::QueryOperator;

class AdvancedQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        q.DefinisciCampo("Articolo", "MG66_CODART", "(Standard)", 1);
        q.DefinisciCampo("Famiglia", "MG66_ANAGRART.MG66_FAM_MG53", "(Standard)", 2);
        q.OffriTabella("FA12_ARTICOLI", "(Standard)");
    }
    host::controls::AdvancedQuery q{"ADVQ_ARTICOLI"};
};

TEST_F(AdvancedQueryTest, EachOperatorGivesItsContinuation) {
    EXPECT_EQ(q.Condizione(), "");
    q.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    q.AggiungiCondizione({"Famiglia", QueryOperator::InElenco, {"CAM", "PAN"}});
    q.AggiungiCondizione({"MG66_CODART", QueryOperator::Intervallo, {"CAM-100", "CAM-103"}});
    q.AggiungiCondizione({"famiglia", QueryOperator::Diverso, {"GIA"}});
    q.AggiungiCondizione({"FA12_STAGIONE_MG5T", QueryOperator::Uguale, {"PE2026"}});
    EXPECT_EQ(q.Condizione(),
              " AND LEFT(MG66_CODART, 4) = 'CAM-' AND MG66_ANAGRART.MG66_FAM_MG53 IN ('CAM', 'PAN')"
              " AND MG66_CODART BETWEEN 'CAM-100' AND 'CAM-103' AND MG66_ANAGRART.MG66_FAM_MG53 <> 'GIA'"
              " AND FA12_ARTICOLI.FA12_STAGIONE_MG5T = 'PE2026'");
}

TEST_F(AdvancedQueryTest, FieldsOutsideTheDefinitionAreRefused) {
    EXPECT_THROW(q.AggiungiCondizione({"MG66_GUID", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"1=1 OR MG66_CODART", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"Articolo", QueryOperator::Intervallo, {"only one"}}), db::Error);
    EXPECT_EQ(q.Condizione(), "");
}

// The condition runs inside the selection statement: hostile values select nothing and break nothing.
TEST_F(AdvancedQueryTest, HostileValuesSelectNothingAndBreakNothing) {
    auto c = db::Connection::Create();
    c->Open("sqlite::memory:");
    erp::BuildDemoDatabase(*c, erp::DemoOptions{});
    auto count = [&](const std::string& condition) {
        auto rs = c->Execute("SELECT COUNT(*) FROM MG66_ANAGRART WITH (NOLOCK) LEFT JOIN FA12_ARTICOLI ON "
                             "FA12_DITTA_CG18 = MG66_DITTA_CG18 AND FA12_CODART_MG66 = MG66_CODART WHERE "
                             "MG66_DITTA_CG18 = 1" + condition);
        rs->MoveFirst();
        return rs->GetFields().Item(0).Value().CLng();
    };
    q.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    EXPECT_EQ(count(q.Condizione()), 6);
    q.Svuota();
    q.AggiungiCondizione({"Famiglia", QueryOperator::Uguale, {"CAM"}});
    const long shirts = count(q.Condizione());
    for (const std::string& hostile : std::vector<std::string>{"x' OR '1'='1", "'; DELETE FROM MG66_ANAGRART; --", "CAM-%", "CAM-_00",
                                      "\xE2\x80\x99 OR 1=1", std::string(10000, '\'')}) {
        q.Svuota();
        q.AggiungiCondizione({"Articolo", QueryOperator::Uguale, {hostile}});
        EXPECT_EQ(count(q.Condizione()), 0) << hostile.substr(0, 40);
        q.Svuota();
        q.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {hostile}});
        EXPECT_EQ(count(q.Condizione()), 0) << hostile.substr(0, 40);
        q.Svuota();
        q.AggiungiCondizione({"Famiglia", QueryOperator::InElenco, {"CAM", hostile}});
        EXPECT_EQ(count(q.Condizione()), shirts) << hostile.substr(0, 40);
    }
    EXPECT_GT(count(""), 20);  // nothing was deleted

    // A NUL cannot be typed: refused with the control's message, the conditions as they were.
    q.Svuota();
    try {
        q.AggiungiCondizione({"Articolo", QueryOperator::Uguale, {std::string("a\0b", 3)}});
        ADD_FAILURE() << "a NUL was accepted";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Description(), "Valore non ammesso nella condizione sul campo Articolo: contiene il carattere nullo");
    }
    EXPECT_EQ(q.Condizione(), "");
}

}  // namespace
