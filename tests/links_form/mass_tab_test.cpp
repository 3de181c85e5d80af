// The mass-duplication tab inside the links form: the value lists of the query's filter fields, the
// lookups and decodes of the parameter fields, the variant form opened from the tab, and the form going
// away once closed.
#include "LinksFormFixture.h"
#include "entry/ControlsAdvancedQuery.h"
#include "host/controls/AdvancedQuery.h"
#include "variants_form/FRMFA_VARIANTI.h"

using testsupport::LinksFormTest;

namespace {

using Codici = std::vector<std::string>;
using Q = entry::QueryOperator;

class MassTabTest : public LinksFormTest {
protected:
    // The form opened on the mass tab, the selection step showing.
    void ApriScheda() {
        Apri();
        Utente(host::UserScript().SelectItem("SIDEBAR_MAIN", links_form::kGruppoSideBar, links_form::kVoceDuplMassiva));
    }
    std::shared_ptr<host::controls::AdvancedQuery> Query() const {
        return Controllo<host::controls::AdvancedQuery>("ADVQ_ARTICOLI");
    }
    // The articles matching the conditions selected: the parameters step showing.
    void Seleziona(std::initializer_list<entry::QueryCondition> condizioni) {
        for (const auto& c : condizioni) Query()->AggiungiCondizione(c);
        Utente(host::UserScript().Click("CMD_AVANTI"));
    }
    std::string Testo(const std::string& nome) const {
        return std::dynamic_pointer_cast<entry::ITextBox>(Form()->Control(nome))->Text();
    }
};

TEST_F(MassTabTest, TheQueryFieldsListValuesNarrowedByTheirParentsAndTheParameterFieldsDecodeByTheArticlesKind) {
    ApriScheda();
    auto q = Query();
    EXPECT_EQ(q->UserOpenList("Famiglia"), (Codici{"ACC", "CAM", "GIA", "PAN", "TES"}));
    EXPECT_EQ(q->LastRequest().title, "Elenco famiglie");
    EXPECT_EQ(q->UserOpenList("Gruppo statistico 3"), (Codici{"FASCIA-A", "FASCIA-B"}));
    // Without a family every subfamily; with one, that family's.
    EXPECT_EQ(q->UserOpenList("Sottofamiglia").size(), 6u);
    q->AggiungiCondizione({"Famiglia", Q::Uguale, {"CAM"}});
    EXPECT_EQ(q->UserOpenList("Sottofamiglia"), (Codici{"DONNA", "UOMO"}));
    q->AggiungiCondizione({"MG66_ANAGRART.MG66_SFAM_MG54", Q::Uguale, {"UOMO"}});
    EXPECT_EQ(q->UserOpenList("Gruppo"), (Codici{"CASUAL", "CLASS"}));
    q->AggiungiCondizione({"Gruppo", Q::Uguale, {"CASUAL"}});
    EXPECT_EQ(q->UserOpenList("Sottogruppo"), (Codici{"ML"}));

    // A range gives its first value to the first side and its second to the second.
    q->Svuota();
    q->AggiungiCondizione({"Famiglia", Q::Intervallo, {"CAM", "PAN"}});
    EXPECT_EQ(q->UserOpenList("Sottofamiglia", 1), (Codici{"DONNA", "UOMO"}));
    EXPECT_EQ(q->UserOpenList("Sottofamiglia", 2), (Codici{"UOMO"}));

    // A parent value is a value like any other: quoted, it finds nothing.
    q->Svuota();
    q->AggiungiCondizione({"Famiglia", Q::Uguale, {"x' OR '1'='1"}});
    EXPECT_TRUE(q->UserOpenList("Sottofamiglia").empty());
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());

    // The parameter fields decode into their descriptions and the typology follows the article's kind.
    q->Svuota();
    Seleziona({{"Articolo", Q::Uguale, {"MODELLO02"}}});
    Utente(host::UserScript()
               .Pick("TXT_LINEAD", "DONNA")
               .Type("TXT_MARCHIOD", "URBAN")
               .Type("TXT_STAGIONED", "AI2025")
               .Pick("TXT_TIPOLOGIAD", "GIACCA")
               .Choose("CBO_PREFISSO", "Aggiungi prefisso")
               .Type("TXT_PREFISSODART", "X'Y'"));
    EXPECT_EQ(Ui().TXT_PREFISSODART->Text(), "XY");  // the prefix loses its quotes
    EXPECT_EQ(Testo("TXT_DESCLINEAD"), "Donna");
    EXPECT_EQ(Testo("TXT_DESCMARCHIOD"), "Urban Line");
    EXPECT_EQ(Testo("TXT_DESCSTAGIONED"), "Autunno/Inverno 2025");
    EXPECT_EQ(Testo("TXT_DESCTIPOLOGD"), "Giacca");
    EXPECT_EQ(Controllo<host::controls::LookupTextBox>("TXT_LINEAD")->LastList().request.title, "Elenco linee");
    // MODELLO02 is a finished product: the typologies of finished products.
    EXPECT_EQ(Lista("TXT_TIPOLOGIAD"), (Codici{"CAMICIA", "GIACCA", "PANTALONE"}));
    // The run walks the ticked articles: the next run must still find the kind of the article the user is on,
    // or a typology valid for it is refused, and the list offered after a run is still the one of finished products.
    Utente(host::UserScript().Click("CMD_DUPLMASS").Type("TXT_PREFISSODART", "Y").Click("CMD_DUPLMASS"));
    EXPECT_TRUE(EsisteArticolo("XYMODELLO02"));
    EXPECT_TRUE(EsisteArticolo("YMODELLO02"));
    for (const auto& m : Messaggi()) EXPECT_EQ(m.find("Valore non valido"), std::string::npos) << m;
    Utente(host::UserScript().Pick("TXT_TIPOLOGIAD", "GIACCA"));
    EXPECT_EQ(Lista("TXT_TIPOLOGIAD"), (Codici{"CAMICIA", "GIACCA", "PANTALONE"}));
    // The parameters frame's tear-down empties codes and descriptions alike.
    Utente(host::UserScript().Click("CMD_INDIETRO").Click("CMD_AVANTI"));
    for (const char* box : {"TXT_LINEAD", "TXT_DESCLINEAD", "TXT_STAGIONED", "TXT_DESCSTAGIONED"})
        EXPECT_EQ(Testo(box), "") << box;

    // A fabric: the typologies of fabrics.
    Utente(host::UserScript().Click("CMD_INDIETRO"));
    Query()->Svuota();
    Seleziona({{"Articolo", Q::Uguale, {"TS-LINO-BLU"}}});
    Utente(host::UserScript().Pick("TXT_TIPOLOGIAD", "TELA"));
    EXPECT_EQ(Lista("TXT_TIPOLOGIAD"), (Codici{"FLANELLA", "POPELINE", "RASO", "TELA"}));
    EXPECT_EQ(Testo("TXT_DESCTIPOLOGD"), "Tela");
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
}

// The new article's descriptions hold what their columns take, as the links tab's boxes do: a longer text is
// refused, and the box keeps the last one that fitted.
TEST_F(MassTabTest, TheDescriptionsFitTheirColumnsAndTheVariantFormOpensForTheOneSelectedArticleAndGoesWithTheShell) {
    ApriScheda();
    Seleziona({{"Articolo", Q::Uguale, {"MODELLO02"}}});
    for (const auto& [box, size] : {std::pair{"TXT_DESCRD", 72}, {"TXT_DESCRESTD", 1672}}) {
        SCOPED_TRACE(box);
        const std::string fits(static_cast<std::size_t>(size), 'D');
        Utente(host::UserScript().Type(box, fits));
        EXPECT_FALSE(shell->Act(entry::kLinksFormName, host::UserScript().Type(box, fits + "L")));
        ASSERT_FALSE(shell->Failures().empty());
        EXPECT_NE(shell->Failures().back().find("is longer than its size of " + std::to_string(size) + " characters"),
                  std::string::npos) << shell->Failures().back().substr(0, 300);
        EXPECT_EQ(Testo(box), fits);
    }
    Codici offerte;
    shell->WhenShown(variants_form::kNomeForm,
                     host::UserScript()
                         .Do("read the list and switch the fit off",
                             [&offerte](entry::Form& f, host::HeadlessShell&) {
                                 auto& grid = dynamic_cast<host::controls::Grid&>(*f.Control("QGRD_VARIANTI"));
                                 for (long row = 1; row <= grid.RowCount(); ++row) {
                                     offerte.push_back(grid.CellText(row, "MG5F_CODICEVAR"));
                                     if (offerte.back() == "VES") grid.UserTickCell(row, "SEL");
                                 }
                             })
                         .Close());
    Utente(host::UserScript().Click("CMD_GESTVARD"));
    // MODELLO02's own variants, all active on it.
    EXPECT_EQ(offerte, (Codici{"COL", "TAG", "VES"}));
    auto lista = Form()->RstSelezioneVarianti();
    ASSERT_TRUE(lista);
    std::map<std::string, std::string> sel;
    for (lista->MoveFirst(); !lista->EOF(); lista->MoveNext())
        sel[db::RTrim((*lista)["MG5F_CODICEVAR"].Value().Text())] = (*lista)["SEL"].Value().Text();
    EXPECT_EQ(sel, (std::map<std::string, std::string>{{"COL", "1"}, {"TAG", "1"}, {"VES", "0"}}));

    // A new selection lets go of it.
    Utente(host::UserScript().Click("CMD_INDIETRO").Click("CMD_AVANTI"));
    EXPECT_FALSE(Form()->RstSelezioneVarianti());

    // The wizard holds the program interface, which holds the form: unloading the form must let go of it, or
    // the form would outlive the shell.
    std::weak_ptr<links_form::FRMFA_AGGANCI> form = Form();
    Utente(host::UserScript().Close());
    shell.reset();
    EXPECT_TRUE(form.expired());
}

// With one of two selected articles unticked the run works in single-article mode: the variant form must
// list that article's own variants, so that one inactive on it (VES on CAM-100) is not switched on.
TEST_F(MassTabTest, TheVariantFormListsTheOneTickedArticleTheRunCounts) {
    ApriScheda();
    Seleziona({{"Articolo", Q::Intervallo, {"CAM-100", "CAM-101"}}});
    auto selezione = Form()->RstSelezioneMassiva();
    for (selezione->MoveFirst(); !selezione->EOF(); selezione->MoveNext())
        if (db::RTrim((*selezione)["MG66_CODART"].Value().Text()) == "CAM-101") {
            (*selezione)["SEL"].Value(db::Variant(0));
            selezione->Update();
        }
    shell->WhenShown(variants_form::kNomeForm, host::UserScript().Close());
    Utente(host::UserScript().Click("CMD_GESTVARD").Choose("CBO_PREFISSO", "Aggiungi prefisso").Type(
        "TXT_PREFISSODART", "X"));
    Utente(host::UserScript().Click("CMD_DUPLMASS"));
    EXPECT_TRUE(EsisteArticolo("XCAM-100"));
    EXPECT_FALSE(EsisteArticolo("XCAM-101"));
    EXPECT_EQ(Valore("SELECT MG6B_FLGGESTVAR FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'XCAM-100' AND "
                     "MG6B_CODICEVAR_MG5F = 'VES'").CLng(), 0);
}

}  // namespace
