// The advanced query control: the condition text it gives the form, and the fields it refuses. Typed
// values are tried in tests/hostile.
#include <gtest/gtest.h>

#include "db/Error.h"
#include "host/controls/AdvancedQuery.h"

using entry::QueryOperator;

TEST(AdvancedQuery, RefusesFieldsOutsideTheDefinitionAndGivesEachOperatorsContinuation) {
    host::controls::AdvancedQuery q{"ADVQ_ARTICOLI"};
    q.DefinisciCampo("Articolo", "MG66_CODART", "(Standard)", 1);
    q.DefinisciCampo("Famiglia", "MG66_ANAGRART.MG66_FAM_MG53", "(Standard)", 2);
    q.OffriTabella("FA12_ARTICOLI", "(Standard)");
    EXPECT_THROW(q.AggiungiCondizione({"MG66_GUID", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"1=1 OR MG66_CODART", QueryOperator::Uguale, {"x"}}), db::Error);
    EXPECT_THROW(q.AggiungiCondizione({"Articolo", QueryOperator::Intervallo, {"only one"}}), db::Error);
    EXPECT_EQ(q.Condizione(), "");  // nothing before a condition, nor after the refused ones

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
