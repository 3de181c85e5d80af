// The advanced query control: the condition text it gives the form, and the fields it refuses. Typed
// values are tried in tests/hostile.
#include <gtest/gtest.h>

#include "Queries.h"
#include "db/Error.h"
#include "host/controls/AdvancedQuery.h"

using entry::QueryOperator;

namespace {

// The mass tab's query on a company: two of its fields and the fashion table it offers.
std::shared_ptr<host::controls::AdvancedQuery> Query(const db::ConnectionPtr& company) {
    auto q = std::make_shared<host::controls::AdvancedQuery>("ADVQ_ARTICOLI");
    q->Imposta("1", 0, nullptr, "agganci_ADVQ_ARTICOLI", true, company);
    q->DefinisciCampo("Articolo", "MG66_CODART", "(Standard)", 1);
    q->DefinisciCampo("Famiglia", "MG66_ANAGRART.MG66_FAM_MG53", "(Standard)", 2);
    q->OffriTabella("FA12_ARTICOLI", "(Standard)");
    return q;
}

// The refusal's text ("" when the condition is taken).
std::string Refusal(host::controls::AdvancedQuery& q, const entry::QueryCondition& c) {
    try {
        q.AggiungiCondizione(c);
    } catch (const db::Error& e) {
        return e.Description();
    }
    return "";
}

}  // namespace

TEST(AdvancedQuery, RefusesFieldsOutsideTheDefinitionAndGivesEachOperatorsContinuation) {
    const auto query = Query(testsupport::EmptyCompany());
    auto& q = *query;
    EXPECT_THROW(q.AggiungiCondizione({"MG66_GUID", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"1=1 OR MG66_CODART", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"Articolo", QueryOperator::Intervallo, {"only one"}}), db::Error);
    // A column of the offered table is one the table has: another would fail only in the selection statement.
    EXPECT_EQ(Refusal(q, {"FA12_NONEXIST", QueryOperator::Uguale, {"1"}}),
              "Campo non previsto dalla ricerca: FA12_NONEXIST");
    EXPECT_EQ(q.Condizione(), "");  // nothing before a condition, nor after the refused ones

    q.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    q.AggiungiCondizione({"Famiglia", QueryOperator::InElenco, {"CAM", "PAN"}});
    q.AggiungiCondizione({"MG66_CODART", QueryOperator::Intervallo, {"CAM-100", "CAM-103"}});
    q.AggiungiCondizione({"famiglia", QueryOperator::Diverso, {"GIA"}});
    q.AggiungiCondizione({"fa12_stagione_mg5t", QueryOperator::Uguale, {"PE2026"}});
    EXPECT_EQ(q.Condizione(),
              " AND LEFT(MG66_CODART, 4) = 'CAM-' AND MG66_ANAGRART.MG66_FAM_MG53 IN ('CAM', 'PAN')"
              " AND MG66_CODART BETWEEN 'CAM-100' AND 'CAM-103' AND MG66_ANAGRART.MG66_FAM_MG53 <> 'GIA'"
              " AND FA12_ARTICOLI.FA12_STAGIONE_MG5T = 'PE2026'");
}

// A prefix compares as the equality and the range do on the company's text columns (case aside), and each of
// its characters stands for itself: % _ [ and a quote are no patterns.
TEST(AdvancedQuery, APrefixFindsWhatTheDatabaseComparesAsEqualAndTakesItsCharactersLiterally) {
    const auto company = testsupport::EmptyCompany();
    testsupport::Exec(*company, "INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'CAM-100'), "
                                "(1, 'cam-101'), (1, 'CAMX'), (1, 'C%M'), (1, 'C_M'), (1, '[C]'), (1, 'IT''S')");
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"cam-", {"CAM-100", "cam-101"}}, {"C%", {"C%M"}}, {"C_", {"C_M"}}, {"[c", {"[C]"}}, {"it'", {"IT'S"}},
    };
    for (const auto& [prefix, codes] : cases) {
        SCOPED_TRACE(prefix);
        const auto q = Query(company);
        q->AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {prefix}});
        EXPECT_EQ(testsupport::Rows(*company, "SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = 1" +
                                                  q->Condizione() + " ORDER BY MG66_CODART"),
                  codes);
    }
}
