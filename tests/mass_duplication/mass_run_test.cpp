// The mass run on the shirt family CAM-100..CAM-105: which articles are created, what the log says, which
// articles are skipped and why.
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "TestRunPort.h"
#include "generation/GenerationRun.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/BasicControls.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/SelezioneArticoli.h"

namespace {

using Lines = std::vector<std::string>;
constexpr long kSi = 6;

class MassRun : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        UseLogFolder("agganci-mass-run");
        form = std::make_unique<testsupport::TestRunPort>(conn, program, shell->Messages());
        form->tab = entry::Util_Duplmassiva;
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        ASSERT_TRUE(mass_duplication::InitAdvQuery(query, imp, contesto));
    }

    void Seleziona(const std::string& from, const std::string& to) {
        query.AggiungiCondizione({"Articolo", entry::QueryOperator::Intervallo, {from, to}});
        ASSERT_TRUE(mass_duplication::RecuperaArticoli(contesto, 1, query.Condizione(), form->selezioneMassiva));
    }

    std::unique_ptr<testsupport::TestRunPort> form;
    host::controls::AdvancedQuery query{"ADVQ_ARTICOLI"};
};

TEST_F(MassRun, APrefixCreatesTheTickedArticlesOnly) {
    Seleziona("CAM-100", "CAM-103");
    auto& selection = *form->selezioneMassiva;  // CAM-101 unticked, as on the grid
    selection.MoveFirst();
    selection.MoveNext();
    selection["SEL"].Value(db::Variant(0));
    selection.Update();
    Exec("UPDATE MG87_ARTDESC SET MG87_DESCARTEST = 'Estesa 100' WHERE MG87_CODART_MG66 = 'CAM-100' AND "
         "MG87_LINGUA_MG52 = ' '");
    shell->Messages()->MessageAnswers().Queue({kSi});  // go on without a variant selection
    form->RunMass("X");
    // The tab's extended description left empty: each new article keeps its source's.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_DESCARTEST FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = "
                                       "'XCAM-100' AND MG87_LINGUA_MG52 = ' '"),
              Lines{"Estesa 100"});

    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'XCAM-%' ORDER BY 1"),
              (Lines{"XCAM-100", "XCAM-102", "XCAM-103"}));
    EXPECT_EQ(form->outcome.Count(generation::ArticleState::Created), 3);
    const std::string sep = generation::kSeparatoreLog;
    EXPECT_EQ(form->RunLines(), (Lines{"Inizio duplicazione per l'articolo:  CAM-100", "Articolo :  XCAM-100 Creato ",
                                       "Fine duplicazione per l'articolo:  CAM-100", sep,
                                       "Inizio duplicazione per l'articolo:  CAM-102", "Articolo :  XCAM-102 Creato ",
                                       "Fine duplicazione per l'articolo:  CAM-102", sep,
                                       "Inizio duplicazione per l'articolo:  CAM-103", "Articolo :  XCAM-103 Creato ",
                                       "Fine duplicazione per l'articolo:  CAM-103", sep}));
    EXPECT_TRUE(form->cmdLog->Visible());
    EXPECT_FALSE(form->progress->Visible());
    ASSERT_FALSE(shell->Messages()->Messages().empty());
    EXPECT_EQ(shell->Messages()->Messages().front().text, generation::kMsgVariantiNonConfigurate);
    EXPECT_EQ(selection.Filter().Text(), "SEL = 1");
}

// Over CAM-100: a blank text stops the run with the message on the text box and nothing written (the same
// refusal in every mode: hostile/mass_hostile_test.cpp, CodeTextInEveryMode); a code too long and not truncated
// is skipped without a log line; an existing code is logged and skipped.
TEST_F(MassRun, ABlankTextStopsTheRunATooLongOrExistingCodeSkipsTheArticle) {
    Seleziona("CAM-100", "CAM-100");
    form->selezioneVarianti = form->selezioneMassiva;  // any list: the question is not asked
    form->RunMass("   ");  // as a prefix
    const auto& shown = shell->Messages()->Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Campo obbligatorio o dati inseriti non validi!");
    EXPECT_EQ(shown[0].title, "Agganci/Aperture");
    EXPECT_EQ(form->focused, std::vector<std::string>{"TXT_PREFISSODART"});
    EXPECT_FALSE(form->cmdLog->Visible());
    EXPECT_FALSE(Exists("   CAM-100"));

    shell->Messages()->ClearRecords();
    shell->Messages()->MessageAnswers().Queue({7});
    form->RunMass(std::string(19, 'P'));  // 19 + 7 = 26 characters
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "Il codice articolo composto da Prefisso + CodiceArt è piu lungo di  25 caratteri. \r\nIl codice da "
              "generare verrà troncato al  25 carattere  \r\nSi desidera troncare il codice?");
    EXPECT_TRUE(form->RunLines().empty());
    ASSERT_EQ(form->outcome.articles.size(), 1u);
    EXPECT_EQ(form->outcome.articles[0].state, generation::ArticleState::CodeTooLong);

    shell->Messages()->ClearRecords();
    form->RunMass("CAM-105", "2");  // the complete code
    EXPECT_EQ(form->RunLines(), (Lines{"Inizio duplicazione per l'articolo:  CAM-100",
                                       "L'articolo CAM-105 è già esistente. ARTICOLO NON GENERATO!! ",
                                       "Fine duplicazione per l'articolo:  CAM-100", generation::kSeparatoreLog}));
    EXPECT_TRUE(shown.empty());
}

}  // namespace
