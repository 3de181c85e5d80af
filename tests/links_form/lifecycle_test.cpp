// The links form's lifecycle as the ERP and the user drive it: what opening shows, the tabs of the side
// bar, the close query of the script layer, the tear-down, the trace lines and the layout.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "LinksFormFixture.h"
#include "host/controls/ResizeControl.h"

using testsupport::LinksFormTest;

TEST_F(LinksFormTest, AModalFormOffersOnlyTheTabItWasOpenedOnAndAMissingKindOfArticleMasterClosesAtOnce) {
    bool checked = false;
    shell->WhenShown(entry::kLinksFormName, host::UserScript().Do("look", [&](entry::Form& form, host::HeadlessShell&) {
        auto& f = dynamic_cast<links_form::FRMFA_AGGANCI&>(form);
        const auto& ui = f.Ui();
        EXPECT_FALSE(ui.SIDEBAR_MAIN->ItemEnabled("GRP01", "ITM0101"));
        EXPECT_TRUE(ui.SIDEBAR_MAIN->ItemEnabled("GRP01", "ITM0102"));
        EXPECT_EQ(ui.SIDEBAR_MAIN->SelectedItem(), "ITM0102");
        EXPECT_EQ(f.tabVisible(), entry::Util_Duplmassiva);
        EXPECT_TRUE(ui.FRM_DUPLMASS->Visible());
        EXPECT_TRUE(ui.FRM_SELDUPL->Visible());
        EXPECT_FALSE(ui.FRM_PARDUPL->Visible());
        EXPECT_FALSE(ui.FRM_MODORIGINE->Visible());
        EXPECT_EQ(ui.FRM_DUPLMASS->Left(), 1800);
        checked = true;
    }));
    host::ProgramRequest request;
    request.modal = true;
    request.tabAttivo = entry::Util_Duplmassiva;
    shell->Apri(request);

    EXPECT_TRUE(checked);
    EXPECT_TRUE(shell->Failures().empty()) << shell->Failures().front();
    EXPECT_EQ(Form(), nullptr);  // the modal show returned once the window closed

    // On the links tab, the mass tab cannot be reached.
    shell->WhenShown(entry::kLinksFormName, host::UserScript().SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0102"));
    request.tabAttivo = entry::Util_Agganci;
    shell->Apri(request);
    ASSERT_EQ(shell->Failures().size(), 1u);
    EXPECT_EQ(shell->Failures()[0].rfind("FRMFA_AGGANCI: select SIDEBAR_MAIN GRP01/ITM0102: ", 0), 0u)
        << shell->Failures()[0];
    EXPECT_EQ(Form(), nullptr);  // the window is closed all the same

    // A missing kind of article master closes the form at once.
    request = host::ProgramRequest();
    request.tipoAnagrafica = entry::KvEnumTipoAnagraficaArticoli_Nothing;
    shell->Apri(request);
    EXPECT_EQ(Form(), nullptr);
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    EXPECT_EQ(BoxText(UltimoMessaggio()), "Tipo anagrafica non specificato!||16");

    // The base article master hides the extended description.
    request.tipoAnagrafica = entry::KvEnumTipoAnagraficaArticoli_Base;
    shell->Apri(request);
    EXPECT_FALSE(Ui().TXT_DESCARTESTDAGENERARE->Visible());
}

TEST_F(LinksFormTest, TheSourceArticleIsLoadedAtOnceAndTheUnloadReleasesTheFormsHoldOnTheProgramAndSession) {
    auto program = Apri("MODELLO01");
    const auto& ui = Ui();
    EXPECT_EQ(ui.TXT_MODORIGINE->Text(), "MODELLO01");
    EXPECT_TRUE(ui.TXT_MODORIGINE->Decodificato());
    EXPECT_TRUE(ui.FRM_PREFISSO->Enabled());
    EXPECT_EQ(ui.TXT_PREFISSO->Text(), "AG");
    EXPECT_EQ(ui.TXT_TESSPRINC->Text(), "TS-COTONE-BIANCO");
    EXPECT_EQ(ui.TXT_SEQUENZA->Text(), "10");
    EXPECT_EQ(Griglia()->RowCount(), 3);
    EXPECT_EQ(ui.FME_AGGANCI->Status(), entry::kvStatoNavigazione);
    EXPECT_FALSE(ui.TXT_PREFISSO->Enabled());  // a saved header keeps its prefix
    EXPECT_TRUE(ui.CMD_DUPLICA->Enabled());
    EXPECT_FALSE(ui.CMD_LOG->Visible());

    std::weak_ptr<links_form::FRMFA_AGGANCI> form = Form();
    auto connection = Form()->Gcon_Connect();
    ASSERT_TRUE(connection);
    EXPECT_EQ(program->Connection(), connection);  // the form handed its connection to the program
    EXPECT_TRUE(shell->Chiudi(program));
    EXPECT_EQ(connection->State(), db::adStateClosed);
    EXPECT_EQ(shell->GetNavigator()->ClosedForms(), std::vector<std::string>{"FRMFA_AGGANCI"});
    EXPECT_TRUE(shell->Global()->Programmi().empty());
    EXPECT_TRUE(shell->GetNavigator()->Programmi().empty());
    EXPECT_THROW(shell->Act(entry::kLinksFormName, host::UserScript().Click("CMD_DUPLICA")), db::Error);
    EXPECT_EQ(program->ClsVoceMenu(), nullptr);
    ASSERT_FALSE(form.expired());
    EXPECT_EQ(form.lock()->ActiveInterface(), nullptr);
    EXPECT_EQ(form.lock()->RstAggTestata(), nullptr);
    EXPECT_EQ(form.lock()->Gcls_Log(), nullptr);

    // Opening on a model without prefix leaves its header unchanged.
    Apri("MODELLO02");
    EXPECT_EQ(Ui().TXT_PREFISSO->Text(), "");
    EXPECT_FALSE(Ui().FME_AGGANCI->IsChanged());
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
}

TEST_F(LinksFormTest, WithoutASourceArticleTheModelFieldWaitsForAFinishedProductAndAScriptVetoKeepsTheFormOpen) {
    auto program = Apri();
    const auto& ui = Ui();
    EXPECT_TRUE(ui.TXT_MODORIGINE->HasFocus());
    EXPECT_FALSE(ui.FRM_PREFISSO->Enabled());
    EXPECT_EQ(ui.FME_AGGANCI->Recordset(), nullptr);
    EXPECT_FALSE(ui.CMD_DUPLICA->Enabled());
    EXPECT_TRUE(ui.CMD_NUOVO->Enabled());
    EXPECT_TRUE(ui.TXT_DESCARTESTDAGENERARE->Visible());

    // A model that is not a finished product loads nothing.
    Utente(host::UserScript().Type("TXT_MODORIGINE", "TS-LINO-BLU"));
    EXPECT_FALSE(Ui().TXT_MODORIGINE->Decodificato());
    EXPECT_FALSE(Ui().FRM_PREFISSO->Enabled());
    EXPECT_EQ(Ui().FME_AGGANCI->Recordset(), nullptr);

    Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO02"));
    EXPECT_TRUE(Ui().FRM_PREFISSO->Enabled());
    EXPECT_EQ(Colonna("FA64_CODTESS_FA12"), std::vector<std::string>{"TS-LINO-BLU"});

    shell->GetNavigator()->Script()->VetoClose(true);
    EXPECT_FALSE(shell->Chiudi(program));
    ASSERT_TRUE(Form());
    EXPECT_TRUE(Form()->Loaded());
    EXPECT_EQ(Form()->ActiveInterface(), program);

    shell->GetNavigator()->Script()->VetoClose(false);
    EXPECT_TRUE(shell->Chiudi(program));
    EXPECT_EQ(Form(), nullptr);
    using Event = host::ScriptObjectModel::FormEventRecord;
    EXPECT_EQ(shell->GetNavigator()->Script()->Events(),
              (std::vector<Event>{{"FRMFA_AGGANCI", true}, {"FRMFA_AGGANCI", false}, {"FRMFA_AGGANCI", false}}));
    EXPECT_TRUE(shell->GetNavigator()->Script()->Entries().empty());
}

TEST_F(LinksFormTest, TheSideBarSwitchesTabsIgnoresTheItemShownAndKeepsBothWhenTheTearDownIsRefused) {
    Apri("MODELLO01");
    const auto testata = Form()->RstAggTestata();
    Utente(host::UserScript().SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0101"));
    EXPECT_EQ(Form()->RstAggTestata(), testata);  // clicking the tab shown tore nothing down

    Utente(host::UserScript().SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0102"));
    EXPECT_EQ(Form()->tabVisible(), entry::Util_Duplmassiva);
    EXPECT_TRUE(Ui().FRM_DUPLMASS->Visible());
    EXPECT_FALSE(Ui().FRM_MODORIGINE->Visible());
    EXPECT_EQ(Form()->RstAggTestata(), nullptr);
    EXPECT_EQ(Ui().TXT_MODORIGINE->Connection(), nullptr);

    Utente(host::UserScript().SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0101"));
    EXPECT_EQ(Form()->tabVisible(), entry::Util_Agganci);
    EXPECT_TRUE(Ui().FRM_MODORIGINE->Visible());
    EXPECT_FALSE(Ui().FRM_DUPLMASS->Visible());
    EXPECT_EQ(Ui().TXT_MODORIGINE->Connection(), Form()->Gcon_Connect());

    // A row being typed, and the user cancels the question whether to save it.
    Utente(host::UserScript()
               .Type("TXT_MODORIGINE", "MODELLO01")
               .Press("GRIDNAV_AGGANCI", entry::pulsanti::Nuovo)
               .Type("TXT_TSAGGANCIO", "TS-LINO-BLU")
               .Answer(entry::kAnswerCancel)
               .SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0102"));
    ASSERT_EQ(Messaggi().size(), 1u);  // the question is this switch's: the earlier ones asked nothing
    EXPECT_EQ(UltimoMessaggio().text, "Salvare le modifiche?");
    EXPECT_EQ(Form()->tabVisible(), entry::Util_Agganci);
    EXPECT_TRUE(Ui().FRM_MODORIGINE->Visible());
    EXPECT_EQ(Ui().SIDEBAR_MAIN->SelectedItem(), "ITM0101");
    EXPECT_EQ(Ui().TXT_TSAGGANCIO->Text(), "TS-LINO-BLU");
    EXPECT_EQ(Ui().FME_AGGANCIDET->Status(), entry::kvStatoNuovo);
}

TEST_F(LinksFormTest, ASecondActivationRepeatsNothingTheLayoutKeepsBothTabsTheSameSizeEscapeClosesAndBothAreTraced) {
    const auto trace =
        std::filesystem::temp_directory_path() / ("links_form_trace_" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(trace);
    ::setenv("AGGANCI_DEBUG_OUTPUT", trace.c_str(), 1);
    auto program = Apri();
    auto resize = Controllo<host::controls::ResizeControl>("ZEL_RESIZEFORM");
    const auto entries = resize->Entries().size();
    const auto events = shell->GetNavigator()->Script()->Events().size();
    Utente(host::UserScript().Do("activate again", [](entry::Form& form, host::HeadlessShell&) { form.Activate(); }));
    EXPECT_EQ(resize->Entries().size(), entries);
    EXPECT_EQ(shell->GetNavigator()->Script()->Events().size(), events);
    EXPECT_EQ(shell->GetNavigator()->Layout()->Applied(), std::vector<std::string>{"Agganci\\Aperture"});

    Utente(host::UserScript().Do("size the tab", [](entry::Form& form, host::HeadlessShell&) {
                                  form.Control("FRM_MODORIGINE")->Move(1800, 0, 9000, 6000);
                              })
               .Resize(12000, 8000));
    EXPECT_EQ(Ui().FRM_DUPLMASS->Width(), 9000);
    EXPECT_EQ(Ui().FRM_DUPLMASS->Height(), 6000);
    EXPECT_EQ(resize->Relayouts(), (std::vector<std::string>{"FRM_MODORIGINE", "FRM_DUPLMASS"}));

    Utente(host::UserScript().Key(entry::vbKeyEscape));
    EXPECT_EQ(Form(), nullptr);
    EXPECT_TRUE(shell->Chiudi(program));  // nothing left to close

    // The form's creation and end trace lines, with one id.
    program.reset();
    shell.reset();  // the session ends: the last references to the form go
    ::unsetenv("AGGANCI_DEBUG_OUTPUT");
    std::ifstream in(trace);
    std::string lines;
    for (std::string line; std::getline(in, line);)
        if (line.find("|FRMFA_AGGANCI") != std::string::npos) lines += line + "\n";
    std::filesystem::remove(trace);
    EXPECT_TRUE(std::regex_match(lines, std::regex("KVGE:\\|([0-9A-F]{32})\\|INI\\|Vintrello\\|FRMFA_AGGANCI\n"
                                                   "KVGE:\\|\\1\\|TER\\|Vintrello\\|FRMFA_AGGANCI\n")))
        << lines;
}

namespace {

long Domande(const std::vector<std::string>& messaggi) {
    return static_cast<long>(std::count(messaggi.begin(), messaggi.end(), "Salvare le modifiche?"));
}

}  // namespace

// The alternative code of MODELLO04's header in the database: "flag/code".
class CodiceAlternativoTest : public LinksFormTest {
protected:
    std::string CodiceAlternativo() const {
        const std::string testata = " FROM FA63_AGGANCI WHERE FA63_DITTA_CG18 = 1 AND FA63_CODART_MG66 = 'MODELLO04'";
        return std::to_string(Valore("SELECT FA63_FLGCODALT" + testata).CLng()) + "/" +
               db::RTrim(Valore("SELECT FA63_CODALT" + testata).Text());
    }
};

TEST_F(CodiceAlternativoTest, ClosingWithUnsavedEditsAsksFirstCancelKeepsTheFormAndItsEditsNoDropsYesSavesNewRowsToo) {
    ApriModello("MODELLO01");
    const std::string descrizione = "SELECT FA64_DESCRIZIONE FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 = " +
                                    db::SqlText(GuidTestata("MODELLO01")) +
                                    " AND FA64_CODTESS_FA12 = " + db::SqlText(Ui().TXT_TSAGGANCIO->Text());
    const std::string prima = Valore(descrizione).Text();
    ASSERT_FALSE(prima.empty());
    Utente(host::UserScript().Type("TXT_DESCARTDAGENERARE", "Camicia da rivedere"));

    // Escape and the window's close button: "cancel" keeps the form open with the edit.
    Utente(host::UserScript().Answer(entry::kAnswerCancel).Key(entry::vbKeyEscape));
    Utente(host::UserScript().Answer(entry::kAnswerCancel).Close());
    EXPECT_EQ(Domande(Messaggi()), 2);
    ASSERT_TRUE(Form());
    EXPECT_EQ(Ui().TXT_DESCARTDAGENERARE->Text(), "Camicia da rivedere");
    EXPECT_TRUE(Ui().FME_AGGANCI->IsChanged());
    EXPECT_TRUE(shell->GetNavigator()->ClosedForms().empty());

    // "No": the form goes, the edit with it.
    Utente(host::UserScript().Answer(entry::kAnswerNo).Close());
    EXPECT_EQ(Form(), nullptr);
    EXPECT_EQ(Domande(Messaggi()), 3);
    EXPECT_EQ(Valore(descrizione).Text(), prima);

    // "Yes": an edit of the header alone is saved as the form closes.
    ApriModello("MODELLO04");
    Utente(host::UserScript().Click("CHK_CODALT").Type("TXT_CODICEALTERNATIVO", "ALT04"));
    Utente(host::UserScript().Answer(entry::kAnswerYes).Key(entry::vbKeyEscape));
    EXPECT_EQ(Form(), nullptr);
    EXPECT_EQ(Domande(Messaggi()), 4);
    EXPECT_EQ(CodiceAlternativo(), "1/ALT04");

    // "Yes" as the ERP closes the program: the rows typed are saved with their new header.
    auto program = Apri();
    Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO03"));
    SalvaRiga({{"TXT_TSAGGANCIO", "TS-LINO-BLU"}, {"TXT_DESCARTDAGENERARE", "Giacca lino"}});
    Utente(host::UserScript().Answer(entry::kAnswerYes));
    EXPECT_TRUE(shell->Chiudi(program));
    const std::string guid = GuidTestata("MODELLO03");
    ASSERT_NE(guid, "");
    EXPECT_EQ(Valore("SELECT FA64_GUID_FA63 FROM FA64_AGGANCIDET WHERE FA64_DESCRIZIONE = 'Giacca lino'").Text(), guid);
}

TEST_F(CodiceAlternativoTest, EditsOfTheHeaderAloneAreAskedAboutOnAModelChangeNewAndATabSwitch) {
    // A model without links opens on a new header: left untyped, it is nothing to ask about.
    ApriModello("MODELLO03");
    Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO04"));
    EXPECT_EQ(Domande(Messaggi()), 0);

    Utente(host::UserScript().Click("CHK_CODALT").Type("TXT_CODICEALTERNATIVO", "ALT04"));
    Utente(host::UserScript().Answer(entry::kAnswerCancel).Type("TXT_MODORIGINE", "MODELLO01"));
    Utente(host::UserScript().Answer(entry::kAnswerCancel).SelectItem("SIDEBAR_MAIN", "GRP01", "ITM0102"));
    EXPECT_EQ(Domande(Messaggi()), 2);
    EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), "MODELLO04");
    EXPECT_EQ(Form()->tabVisible(), entry::Util_Agganci);
    EXPECT_EQ(Form()->CHK_CODALT(), 1);
    EXPECT_EQ(Form()->TXT_CODICEALTERNATIVO(), "ALT04");

    // "No" drops them and the next model loads; "Yes" to the question of Nuovo saves them.
    Utente(host::UserScript().Answer(entry::kAnswerNo).Type("TXT_MODORIGINE", "MODELLO01"));
    EXPECT_EQ(Ui().TXT_PREFISSO->Text(), "AG");
    EXPECT_EQ(CodiceAlternativo(), "0/");
    Utente(host::UserScript()
               .Type("TXT_MODORIGINE", "MODELLO04")
               .Click("CHK_CODALT")
               .Type("TXT_CODICEALTERNATIVO", "ALT04")
               .Answer(entry::kAnswerYes)
               .Click("CMD_NUOVO"));
    EXPECT_EQ(Domande(Messaggi()), 4);
    EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), "");
    EXPECT_EQ(CodiceAlternativo(), "1/ALT04");
}
