// The article selection of the mass tab: what it selects, and that the variant list leaves the selection and
// its ticks alone. The statement sent is recorded from real runs (tests/tsql); typed values that try to widen
// it are the hostile-input suite's.
#include <gtest/gtest.h>

#include <memory>

#include "GenerationFixture.h"
#include "entry/ControlsAdvancedQuery.h"
#include "host/controls/AdvancedQuery.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/ModiCodice.h"
#include "mass_duplication/SelezioneArticoli.h"
#include "variants_form/ListaVarianti.h"

namespace {

using entry::QueryOperator;

constexpr long kAbbandona = 3;  // "Abort" in the error report

class SelezioneArticoli : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        imp.fashionAttivo = true;
        ASSERT_TRUE(mass_duplication::InitAdvQuery(query, imp, contesto));
    }

    bool Recupera() { return mass_duplication::RecuperaArticoli(contesto, 1, query.Condizione(), selezione); }
    std::vector<std::string> Codici(const db::RecordsetPtr& rs) {
        std::vector<std::string> codes;
        if (rs->RecordCount() == 0) return codes;
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) codes.push_back((*rs)["MG66_CODART"].Value().Text());
        return codes;
    }

    host::controls::AdvancedQuery query{"ADVQ_ARTICOLI"};
    db::RecordsetPtr selezione;
};

// The family selected and ticked with its fashion data; a failed selection keeps it, and the ticks stay in it
// alone while the variant form builds its list.
TEST_F(SelezioneArticoli, TheFamilyIsSelectedTickedAndKeptAndStructuredCodesComeFromTheSegmentTable) {
    query.AggiungiCondizione({"Articolo", QueryOperator::Intervallo, {"CAM-100", "CAM-105"}});
    ASSERT_TRUE(Recupera());
    EXPECT_EQ(Codici(selezione),
              (std::vector<std::string>{"CAM-100", "CAM-101", "CAM-102", "CAM-103", "CAM-104", "CAM-105"}));
    for (selezione->MoveFirst(); !selezione->EOF(); selezione->MoveNext())
        EXPECT_EQ((*selezione)["SEL"].Value().CLng(), 1);
    selezione->MoveFirst();
    EXPECT_EQ((*selezione)["FA12_STAGIONE_MG5T"].Value().Text(), "PE2025");
    EXPECT_EQ((*selezione)["MG87_DESCART"].Value().Text(), "Camicia Oxford azzurra");

    auto previous = selezione;
    shell->Messages()->ErrorBoxAnswers().Always(kAbbandona);
    EXPECT_FALSE(mass_duplication::RecuperaArticoli(contesto, 1, " AND NO_SUCH_COLUMN = 1", selezione));
    EXPECT_EQ(selezione, previous);
    ASSERT_FALSE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_EQ(shell->Messages()->ErrorBoxes().back().procedure, "RecuperaArticoli");

    selezione->MoveFirst();
    selezione->MoveNext();
    (*selezione)["SEL"].Value(db::Variant(0));
    selezione->Update();

    // What the variant form does while the articles are on screen.
    conn->Execute(variants_form::EliminaLista(), nullptr, db::adExecuteNoRecords);
    conn->Execute(variants_form::CreaLista(variants_form::TipoLista::ArticoliMultipli, 1, "", "COL"));

    // The ticks live in the selection alone: its table was dropped once read, and nothing was written.
    EXPECT_THROW(conn->Execute("SELECT COUNT(*) FROM ##TABTEMP"), db::Error);
    selezione->Filter(db::Variant("SEL = 1"));
    EXPECT_EQ(Codici(selezione), (std::vector<std::string>{"CAM-100", "CAM-102", "CAM-103", "CAM-104", "CAM-105"}));

    // Whether codes are structured comes from the segment table. Structured codes take no prefix; the complete code
    // is offered for one article only. Without structured codes the combo's captions are procedura_guidata_test's.
    EXPECT_FALSE(mass_duplication::CodiceStrutturato(contesto));
    conn->Execute("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_SIZE) VALUES (1, 1, 10)");
    ASSERT_TRUE(mass_duplication::CodiceStrutturato(contesto));
    using M = mass_duplication::ModoCodice;
    const M parziale{"1", "Sostituisci parziale"}, completa{"2", "Sostituisci completa"};
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 1), (std::vector<M>{parziale, completa}));
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 6), (std::vector<M>{parziale}));
}

}  // namespace
