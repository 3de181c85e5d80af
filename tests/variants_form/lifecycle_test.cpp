// The form's life as the links form sees it: the colour-variant warning, the list surviving
// the window and shown again unchanged, a failed build, what the window lets go of, how the links form
// says which article, and the mass selection's own list left alone.
#include "VariantsFormFixture.h"
#include <tuple>

#include "host/controls/ResizeControl.h"

namespace varianti_test {
namespace {

TEST_F(VariantsForm, AFailedBuildIsReportedAndRetriedAndReopeningShowsTheEarlierChoicesWithoutARebuild) {
    conn->Faults().FailMatching("CTE_VAR", db::Error(-2147217900, "Invalid object name 'MG6B_GESVARART'."));
    long righe = -1;
    host::UserScript user;
    user.Do("count the rows", [&righe](entry::Form& form, host::HeadlessShell&) { righe = Griglia(form).RowCount(); });

    const auto lista = Apri(Apertura(), user);

    EXPECT_EQ(lista, nullptr);
    EXPECT_EQ(righe, 0);
    ASSERT_EQ(shell->Messages()->ErrorBoxes().size(), 1u);  // answered Abort: the procedure is left
    const auto& box = shell->Messages()->ErrorBoxes()[0];
    EXPECT_EQ(std::tie(box.procedure, box.description, box.style),
              std::make_tuple("ImpostaRescordsetVarianti", "Invalid object name 'MG6B_GESVARART'.", 4370L));

    // Answered Retry, the build runs again.
    conn->Faults().FailMatching("CTE_VAR");
    shell->Messages()->ErrorBoxAnswers().Push(entry::kAnswerRetry);
    host::UserScript prima;
    Spunta(prima, "TAG", "RAGGRAUTOMATICO");
    prima.Type("TXT_RAGGR", "INVERNO");
    const auto scelte = Apri(Apertura(), prima);
    EXPECT_EQ(Righe(scelte).size(), 2u);
    EXPECT_EQ(shell->Messages()->ErrorBoxes().size(), 2u);

    // Reopened on that list, whatever the article, the earlier choices show unchanged.
    std::string mostrato;
    host::UserScript dopo;
    Seleziona(dopo, "TAG");
    dopo.Do("read TXT_RAGGR",
            [&mostrato](entry::Form& form, host::HeadlessShell&) { mostrato = Raggruppamento(form).Text(); });
    Spunta(dopo, "COL", "SEL");
    // A rebuild would fail here: the earlier list must be shown without one.
    conn->Faults().FailMatching("CTE_VAR");
    auto apertura = Apertura(entry::Util_Duplmassiva, true, "PAN-200");
    apertura.Varianti = scelte;
    const auto ancora = Apri(apertura, dopo);

    EXPECT_EQ(ancora, scelte);
    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_EQ(shell->Messages()->ErrorBoxes().size(), 2u);  // no new one
    EXPECT_EQ(mostrato, "INVERNO");
    EXPECT_EQ(Righe(ancora), (Lista{{"COL", "0|Colore|1|"}, {"TAG", "1|Taglia|0|INVERNO"}}));
}

// Without a colour variant configured the form warns once (not again on a second activation) and still works;
// its unload lets go of everything but the list and its table.
TEST_F(VariantsForm, WarnsOnceWithoutAColourVariantAndUnloadLetsGoOfEverythingButTheListAndItsTable) {
    auto form = std::make_shared<variants_form::FRMFA_VARIANTI>();
    form->ActiveInterface = program;
    form->Gcon_Connect = conn;
    form->Gcls_Log = shell->Messages();
    form->FormChiamante = std::make_shared<variants_form::FormChiamanteVarianti>();
    form->Articolo("MODELLO01");
    shell->Global()->Imposta("VarianteColore", db::Variant(""));  // the warning makes its message service
    host::UserScript user;
    user.Do("activate the window again", [](entry::Form& f, host::HeadlessShell&) { f.Activate(); });
    Spunta(user, "TAG", "SEL");
    shell->WhenShown(variants_form::kNomeForm, user);
    form->Show(entry::vbModal);

    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    const auto& avviso = shell->Messages()->Messages()[0];
    EXPECT_EQ(avviso.text, "Nei parametri fashion non è stato indicato quale variante rappresenta il colore.");
    EXPECT_EQ(avviso.title, "Attenzione!");
    EXPECT_EQ(avviso.style, 48);
    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(form->ActiveInterface, nullptr);
    EXPECT_EQ(form->Gcon_Connect, nullptr);
    EXPECT_EQ(form->Gcls_Log, nullptr);
    EXPECT_EQ(form->FormChiamante, nullptr);
    EXPECT_EQ(form->QGRD_VARIANTI->Recordset(), nullptr);
    EXPECT_TRUE(form->QGRD_VARIANTI->Columns().empty());
    EXPECT_TRUE(dynamic_cast<host::controls::Grid&>(*form->QGRD_VARIANTI).Terminated());
    EXPECT_TRUE(dynamic_cast<host::controls::TextBox&>(*form->TXT_RAGGR).Terminated());
    EXPECT_TRUE(dynamic_cast<host::controls::ResizeControl&>(*form->ZEL_RESIZEFORM).Terminated());
    // No colour variant: every active variant of the model is listed like any other.
    EXPECT_EQ(Righe(form->Varianti), (Lista{{"COL", "1|Colore|1|"}, {"TAG", "0|Taglia|1|"}}));
    EXPECT_EQ(testsupport::Count(*conn, "SELECT COUNT(*) FROM ##TABTEMP_VARIANTI"), 2);
}

TEST_F(VariantsForm, TheMassSelectionGivesTheArticleOnlyWhenOneIsSelectedAndIsLeftAloneByTheBuild) {
    auto uno = Apertura(entry::Util_Duplmassiva, false, "");
    auto rs = SelezioneMassiva("MG66_CODART = 'CAM-100'");
    rs->MoveLast();
    rs->MoveNext();  // the links form may have left it anywhere
    variants_form::ArticoloDaSelezione(rs, uno);
    EXPECT_TRUE(uno.ModalitaDuplicaSingola);
    EXPECT_EQ(uno.Articolo, "CAM-100");

    for (const auto& piu : {SelezioneMassiva("MG66_CODART LIKE 'PAN-%'"), db::RecordsetPtr()}) {
        auto apertura = Apertura(entry::Util_Duplmassiva, false, "");
        variants_form::ArticoloDaSelezione(piu, apertura);
        EXPECT_FALSE(apertura.ModalitaDuplicaSingola);
        EXPECT_EQ(apertura.Articolo, "");
    }

    // The mass duplication's article selection lives in ##TABTEMP, on screen with the user's ticks, while
    // the variant form is open from the same tab: building the variant list must leave it alone.
    auto selezione = SelezioneMassiva("MG66_CODART LIKE 'CAM-%'");
    auto spunta = [&](const std::string& articolo) {
        selezione->Filter(db::Variant("MG66_CODART = '" + articolo + "'"));
        (*selezione)["SEL"].Value(db::Variant(0));
        selezione->Update();
        selezione->Filter(db::Variant(0));
    };
    spunta("CAM-101");
    const std::string lettura = "SELECT MG66_CODART, SEL FROM ##TABTEMP ORDER BY MG66_CODART";
    const auto prima = testsupport::Rows(*conn, lettura);
    ASSERT_EQ(prima.size(), 6u);
    EXPECT_EQ(prima[1], "CAM-101|0");

    host::UserScript user;
    Spunta(user, "VES", "SEL");
    auto apertura = Apertura(entry::Util_Duplmassiva, false, "");
    variants_form::ArticoloDaSelezione(selezione, apertura);
    const auto lista = Apri(apertura, user);

    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_EQ(Righe(lista).at("VES"), "0|Vestibilità|1|");
    EXPECT_EQ(testsupport::Rows(*conn, lettura), prima);
    // The articles grid can still write its ticks.
    spunta("CAM-103");
    auto dopo = prima;
    dopo[3] = "CAM-103|0";
    EXPECT_EQ(testsupport::Rows(*conn, lettura), dopo);
}

}  // namespace
}  // namespace varianti_test
