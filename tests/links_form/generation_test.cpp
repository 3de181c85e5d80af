// The generate button runs the generation run on the links shown; the log button shows its log.
#include "LinksFormFixture.h"
#include "entry/MDLFA_AGGANCI.h"
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
