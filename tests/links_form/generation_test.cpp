// The generate button runs the generation run on the links shown; the log button shows its log.
#include "DatabaseSnapshot.h"
#include "LinksFormFixture.h"
#include <cstdlib>

#include "host/HostFactory.h"
#include "host/TextViewer.h"

using testsupport::LinksFormTest;

TEST_F(LinksFormTest, TheGenerateButtonCreatesTheArticlesOfTheLinksShown) {
    const auto cartella = std::filesystem::path(path.string() + ".log");
    std::filesystem::create_directories(cartella);
    shell->Global()->Imposta(entry::impostazioni::CartellaLog, db::Variant(cartella.string() + "/"));
    ApriModello("MODELLO02");
    ASSERT_TRUE(Ui().CMD_DUPLICA->Enabled());
    // No variant list was configured: the run asks whether to go on.
    Utente(host::UserScript().Answer(entry::kAnswerYes).Click("CMD_DUPLICA"));

    ASSERT_FALSE(shell->Messages()->Messages().empty());
    EXPECT_EQ(shell->Messages()->Messages().front().text,
              "Attenzione! Gestione varianti non configurata. Procedere Ugualmente?");
    EXPECT_TRUE(EsisteArticolo("MODELLO02TS-LINO-BLU")) << shell->Messages()->Messages().back().text;
    EXPECT_EQ(Colonna("FA64_ARTAGGANCIO_MG66"), std::vector<std::string>{"MODELLO02TS-LINO-BLU"});
    EXPECT_TRUE(Ui().CMD_LOG->Visible());
    EXPECT_FALSE(Ui().FME_AGGANCIDET->IsChanged());

    const auto& log = Form()->LogElaborazione();
    ASSERT_FALSE(log.LogDisabilitato()) << (log.UltimoErrore() ? log.UltimoErrore()->Description() : "");
    // Not in a browser: the viewer opens the log file.
    ::unsetenv("WEBRender");
    Utente(host::UserScript().Click("CMD_LOG"));
    auto* factory = dynamic_cast<host::ShellHost*>(&entry::Host());
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->Viewer()->Shown().size(), 1u);
    EXPECT_EQ(factory->Viewer()->Shown()[0].path, Form()->LogElaborazione().FileLog());
    EXPECT_NE(factory->Viewer()->Shown()[0].contents.find("Fine elaborazione per tessuto:  TS-LINO-BLU"), std::string::npos);
    std::filesystem::remove_all(cartella);
}

// A run writes the rows with every edit they hold: while an edit waits to be saved the button is off, and a
// click that reaches it anyway runs nothing.
TEST_F(LinksFormTest, TheGenerateButtonWaitsWhileAnEditIsNotSaved) {
    struct Case {
        const char* navigator;
        host::UserScript edit;
    };
    const std::vector<Case> cases = {
        {"GRIDNAV_AGGANCI", host::UserScript().SelectRow("QGRD_AGGANCI", 3).Type("TXT_LINEA", "BOGUS")},
        {"GRIDNAV_AGGANCI", host::UserScript().Type("TXT_DESCARTDAGENERARE", "UNSAVED DESC")},
        {"INTERNAV_AGGANCI", host::UserScript().Click("CHK_CODALT")},
    };
    ApriModello("MODELLO04");
    Utente(host::UserScript().Click("ZEL_CHKRIGENERA"));
    shell->Messages()->MessageAnswers().Always(entry::kAnswerYes);  // to the run's questions, were it to start
    const std::string before = testsupport::DatabaseSnapshot(*shell->Connection());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit.Steps().back().description);
        Utente(c.edit);
        EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());
        EXPECT_FALSE(shell->Act(entry::kLinksFormName, host::UserScript().Click("CMD_DUPLICA")));

        Ui().CMD_DUPLICA->Enabled(true);  // a shell that lets the click through
        Utente(host::UserScript().Click("CMD_DUPLICA"));
        EXPECT_TRUE(Messaggi().empty());  // not even the run's first question
        EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());
        EXPECT_TRUE(testsupport::DatabaseSnapshot(*shell->Connection()) == before) << "the database changed";

        Utente(host::UserScript().Press(c.navigator, entry::pulsanti::Annulla));
        EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
    }
}
