// The two steps of the mass tab: Next with and without articles, the modes offered, Back. The parameters
// frame's tear-down is tested through the form (tests/links_form/mass_tab_test.cpp).
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ComboBox.h"
#include "host/controls/Grid.h"
#include "host/controls/LookupTextBox.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/ProceduraGuidata.h"

namespace {

using entry::QueryOperator;
namespace hc = host::controls;

class ProceduraGuidata : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        mass_duplication::ControlliMassivi c;
        c.FRM_SELDUPL = std::make_shared<hc::Frame>("FRM_SELDUPL");
        c.FRM_PARDUPL = std::make_shared<hc::Frame>("FRM_PARDUPL");
        c.ADVQ_ARTICOLI = query = std::make_shared<hc::AdvancedQuery>("ADVQ_ARTICOLI");
        c.QGRD_DUPLMASS = grid = std::make_shared<hc::Grid>("QGRD_DUPLMASS");
        c.CMD_AVANTI = std::make_shared<hc::Button>("CMD_AVANTI");
        c.CMD_INDIETRO = std::make_shared<hc::Button>("CMD_INDIETRO");
        c.CMD_DUPLMASS = std::make_shared<hc::Button>("CMD_DUPLMASS");
        c.CMD_LOGDUPL = std::make_shared<hc::Button>("CMD_LOGDUPL");
        c.CMD_GESTVARD = std::make_shared<hc::Button>("CMD_GESTVARD");
        c.CBO_PREFISSO = combo = std::make_shared<hc::ComboBox>("CBO_PREFISSO");
        c.TXT_PREFISSODART = std::make_shared<hc::LookupTextBox>("TXT_PREFISSODART");
        c.TXT_STAGIONED = std::make_shared<hc::LookupTextBox>("TXT_STAGIONED");
        c.TXT_LINEAD = std::make_shared<hc::LookupTextBox>("TXT_LINEAD");
        c.TXT_MARCHIOD = std::make_shared<hc::LookupTextBox>("TXT_MARCHIOD");
        c.TXT_TIPOLOGIAD = std::make_shared<hc::LookupTextBox>("TXT_TIPOLOGIAD");
        c.TXT_DESCRD = std::make_shared<hc::TextBox>("TXT_DESCRD");
        c.TXT_DESCRESTD = std::make_shared<hc::TextBox>("TXT_DESCRESTD");
        c.FRM_PARDUPL->Visible(false);
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        ASSERT_TRUE(mass_duplication::InitAdvQuery(*query, imp, contesto));
        wizard = std::make_unique<mass_duplication::ProceduraGuidata>(c, contesto, 1);
        ASSERT_TRUE(wizard->InitFrameDuplMass());
    }
    const mass_duplication::ControlliMassivi& C() { return wizard->Controlli(); }
    std::vector<std::string> Captions() {
        std::vector<std::string> out;
        for (long i = 0; i < combo->ListCount(); ++i) out.push_back(combo->ItemCaption(i));
        return out;
    }

    std::shared_ptr<hc::AdvancedQuery> query;
    std::shared_ptr<hc::Grid> grid;
    std::shared_ptr<hc::ComboBox> combo;
    std::unique_ptr<mass_duplication::ProceduraGuidata> wizard;
};

// Next without articles stays on the selection; with them it shows the parameters and the modes.
TEST_F(ProceduraGuidata, NextShowsTheParametersAndTheModesForOneOrSeveralArticlesAndNoneWithoutArticles) {
    query->AggiungiCondizione({"Articolo", QueryOperator::Uguale, {"x' OR '1'='1"}});
    wizard->CMD_AVANTI_Click();
    EXPECT_FALSE(C().FRM_PARDUPL->Visible());
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    EXPECT_EQ(shell->Messages()->Messages()[0].text, "Nessun articolo recuperato.");
    EXPECT_EQ(shell->Messages()->Messages()[0].title, "Agganci\\Aperture");

    query->Svuota();
    query->AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    wizard->CMD_AVANTI_Click();
    EXPECT_TRUE(C().FRM_PARDUPL->Visible());
    EXPECT_FALSE(C().FRM_SELDUPL->Visible());
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Aggiungi prefisso", "Sostituisci parziale"}));
    EXPECT_EQ(combo->Text(), "0");
    EXPECT_FALSE(C().TXT_DESCRD->Enabled());
    EXPECT_FALSE(C().TXT_TIPOLOGIAD->Enabled());
    EXPECT_TRUE(C().CMD_DUPLMASS->Enabled());
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->Caption(), "Articoli da duplicare");
    ASSERT_EQ(grid->Columns().size(), 8u);
    EXPECT_EQ(grid->Columns()[0].kind, entry::GridColumnKind::Check);

    // Back keeps the parameters; the grid shares the selection's rows.
    C().TXT_PREFISSODART->Text("X");
    wizard->CMD_INDIETRO_Click();
    EXPECT_TRUE(C().FRM_SELDUPL->Visible());
    EXPECT_EQ(C().TXT_PREFISSODART->Text(), "X");
    EXPECT_EQ(wizard->RstSelezioneMassiva()->RecordCount(), 6);

    // One article: the complete code and its descriptions too.
    query->Svuota();
    query->AggiungiCondizione({"Articolo", QueryOperator::Uguale, {"CAM-100"}});
    wizard->CMD_AVANTI_Click();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Aggiungi prefisso", "Sostituisci parziale", "Sostituisci completa"}));
    EXPECT_TRUE(C().TXT_DESCRD->Enabled());
    EXPECT_TRUE(C().TXT_DESCRESTD->Enabled());
}

}  // namespace
