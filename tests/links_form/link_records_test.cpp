// Link headers and rows through the links tab: loading a model's links, adding the first link of a model
// (keys made by the database), what each status of the frames shows, and what a deletion removes.
#include "LinksFormFixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <tuple>

using testsupport::LinksFormTest;
using ::testing::HasSubstr;
namespace p = entry::pulsanti;

TEST_F(LinksFormTest, RowsAreOrderedByFabricWithTheirSeasonCodesAndARowWhoseSeasonIsGoneShowsNone) {
    ApriModello("MODELLO01");
    EXPECT_EQ(Colonna("FA64_CODTESS_FA12"), (std::vector<std::string>{"TS-LANA-GRIGIA", "TS-LINO-BLU", "TS-SETA-ROSSA"}));
    EXPECT_EQ(Colonna("MG5T_CODICE"), (std::vector<std::string>{"AI2025", "PE2025", "PE2026"}));
    // The first row is shown, its season decoded into the season box.
    EXPECT_EQ(Ui().TXT_TSAGGANCIO->Text(), "TS-LANA-GRIGIA");
    EXPECT_EQ(Ui().TXT_STAGIONE->Text(), "AI2025");
    EXPECT_EQ(Ui().TXT_DESCSTAGIONE->Text(), "Autunno/Inverno 2025");

    EXPECT_EQ(Ui().TXT_DESCLINEA->Text(), "Uomo sportivo");
    Utente(host::UserScript().SelectRow("QGRD_AGGANCI", 3));
    EXPECT_EQ(Ui().TXT_TSAGGANCIO->Text(), "TS-SETA-ROSSA");
    EXPECT_EQ(Ui().TXT_STAGIONE->Text(), "PE2026");
    EXPECT_EQ(Ui().TXT_DESCLINEA->Text(), "Uomo classico");
    EXPECT_EQ(Ui().TXT_DESCMARCHIO->Text(), "Mare Blu");
    EXPECT_FALSE(Ui().FME_AGGANCIDET->IsChanged());  // showing a row's season is no edit

    Esegui("UPDATE FA64_AGGANCIDET SET FA64_STAGIONE_MG5T = 999 WHERE FA64_CODTESS_FA12 = 'TS-LINO-BLU'");
    Utente(host::UserScript().Click("CMD_NUOVO").Type("TXT_MODORIGINE", "MODELLO01"));
    EXPECT_EQ(Colonna("MG5T_CODICE"), (std::vector<std::string>{"AI2025", "", "PE2026"}));
    Utente(host::UserScript().SelectRow("QGRD_AGGANCI", 2));
    EXPECT_EQ(Ui().TXT_STAGIONE->Text(), "");
}

TEST_F(LinksFormTest, AModelWithoutLinksStartsANewHeaderSavedOnlyWithAValidFirstLinkThatGetsItsKeysFromTheDatabase) {
    ApriModello("MODELLO03");
    // No links: a new header, the focus on its prefix, nothing to generate.
    ExpectNewEmptyHeader();
    EXPECT_TRUE(Ui().TXT_PREFISSO->HasFocus());
    EXPECT_FALSE(Ui().CMD_LOG->Visible());

    // A refused row keeps the header from being saved.
    Utente(host::UserScript()
               .Type("TXT_PREFISSO", "xy")
               .Press("GRIDNAV_AGGANCI", p::Nuovo)
               .Type("TXT_TSAGGANCIO", "TS-LINO-BLU")
               .Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(UltimoMessaggio().text, "Campo obbligatorio mancante: Descrizione");
    EXPECT_EQ(GuidTestata("MODELLO03"), "");
    EXPECT_EQ(Ui().FME_AGGANCI->Status(), entry::kvStatoNuovo);

    Utente(host::UserScript()
               .Type("TXT_DESCARTDAGENERARE", "Giacca lino blu")
               .Type("TXT_QTA1", "1.25")
               .Type("TXT_STAGIONE", "PE2026")
               .Type("TXT_LINEA", "DONNA")
               .Press("GRIDNAV_AGGANCI", p::Salva));
    // The row waits for its header.
    EXPECT_EQ(Conta("SELECT * FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-LINO-BLU' AND FA64_DESCRIZIONE = "
                    "'Giacca lino blu'"),
              0);
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(Messaggi().size(), 1u);  // only the refusal

    const std::string guid = GuidTestata("MODELLO03");
    ASSERT_EQ(guid.size(), 36u);
    // A null main fabric is saved as the empty text; the row gets its header's key and a key of its own.
    EXPECT_EQ(testsupport::Rows(*shell->Connection(), "SELECT FA63_PREFISSO, FA63_TSPRINCIPALE FROM FA63_AGGANCI WHERE "
                                                      "FA63_GUID = '" + guid + "'"),
              std::vector<std::string>{"XY|"});
    EXPECT_EQ(testsupport::Rows(*shell->Connection(),
                                "SELECT FA64_DITTA_CG18, FA64_CODTESS_FA12, FA64_STAGIONE_MG5T, FA64_LINEA_FA05, "
                                "FA64_QTA1DIBA, length(FA64_GUID), FA64_GUID <> FA64_GUID_FA63 FROM FA64_AGGANCIDET "
                                "WHERE FA64_GUID_FA63 = '" + guid + "'"),
              std::vector<std::string>{"1|TS-LINO-BLU|" + std::to_string(IdStagione("PE2026")) + "|DONNA|1.25|36|1"});

    // Saved: the header browses, its prefix is fixed, generation is possible.
    EXPECT_EQ(Ui().FME_AGGANCI->Status(), entry::kvStatoNavigazione);
    EXPECT_FALSE(Ui().TXT_PREFISSO->Enabled());
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
}

TEST_F(LinksFormTest, StatusesOfTheFramesAndTheAlternativeCodeBoxDriveTheFields) {
    ApriModello("MODELLO01");
    // A new row: generation waits, the season box is cleared.
    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Nuovo));
    EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());
    EXPECT_EQ(Ui().TXT_STAGIONE->Text(), "");
    // Undone: nothing waits any more.
    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Annulla));
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
    EXPECT_EQ(Ui().TXT_STAGIONE->Text(), "AI2025");

    // A new header: the prefix opens, the rows empty.
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Nuovo));
    ExpectNewEmptyHeader();
    EXPECT_TRUE(Ui().TXT_PREFISSO->HasFocus());
    // Undone: the saved header and its rows are back.
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Annulla));
    EXPECT_FALSE(Ui().TXT_PREFISSO->Enabled());
    EXPECT_EQ(Griglia()->RowCount(), 3);
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());

    // The alternative code is typed only while its box is ticked.
    EXPECT_FALSE(Ui().TXT_CODICEALTERNATIVO->Enabled());
    Utente(host::UserScript().Click("CHK_CODALT").Type("TXT_CODICEALTERNATIVO", "alt1"));
    EXPECT_EQ(Ui().TXT_CODICEALTERNATIVO->Text(), "ALT1");
    Utente(host::UserScript().Click("CHK_CODALT"));
    EXPECT_EQ(Ui().TXT_CODICEALTERNATIVO->Text(), "");
    EXPECT_FALSE(Ui().TXT_CODICEALTERNATIVO->Enabled());

    Utente(host::UserScript().Click("CHK_CODALT").Type("TXT_CODICEALTERNATIVO", "M1").Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(Valore("SELECT FA63_CODALT FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").Text(), "M1");
    EXPECT_EQ(Valore("SELECT FA63_FLGCODALT FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").CLng(), 1);
}

// The article is recorded after the form read the rows (by a run elsewhere): the deletion still removes it. The
// row with the article is written at once, and alone: the other rows' edits still wait for the header.
TEST_F(LinksFormTest, DeletingARowRemovesItsGeneratedArticleAloneAtOnceOrWaitsForTheHeaderSave) {
    ApriModello("MODELLO01");
    Generato("MODELLO01", "TS-LINO-BLU", "CAM-100");
    Utente(host::UserScript()
               .Type("TXT_DESCARTDAGENERARE", "Camicia flanella nuova")
               .SelectRow("QGRD_AGGANCI", 2)
               .Press("GRIDNAV_AGGANCI", p::Elimina));

    // The notice comes first; the frame's own deletion flow follows it.
    ASSERT_FALSE(shell->Messages()->Messages().empty());
    EXPECT_EQ(BoxText(shell->Messages()->Messages().front()),
              "Se si procede verranno eliminate anche tutte le distinte e i dati anagrafici dell'aggancio: TS-LINO-BLU."
              "|Attenzione!|48");
    EXPECT_FALSE(EsisteArticolo("CAM-100"));
    EXPECT_EQ(RigheAgganci("MODELLO01"), 2);
    EXPECT_EQ(Colonna("FA64_CODTESS_FA12"), (std::vector<std::string>{"TS-LANA-GRIGIA", "TS-SETA-ROSSA"}));
    const std::string flanella =
        "SELECT FA64_DESCRIZIONE FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-LANA-GRIGIA'";
    EXPECT_EQ(Valore(flanella).Text(), "Camicia uomo flanella grigia");
    EXPECT_EQ(Colonna("FA64_DESCRIZIONE").at(0), "Camicia flanella nuova");
    EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());  // the edit still waits

    Utente(host::UserScript().SelectRow("QGRD_AGGANCI", 2).Press("GRIDNAV_AGGANCI", p::Elimina));
    EXPECT_EQ(RigheAgganci("MODELLO01"), 2);
    EXPECT_EQ(Griglia()->RowCount(), 1);
    const auto mostrati = Messaggi().size();
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(RigheAgganci("MODELLO01"), 1);
    EXPECT_EQ(Conta("SELECT * FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-SETA-ROSSA'"), 0);
    EXPECT_EQ(Valore(flanella).Text(), "Camicia flanella nuova");
    EXPECT_EQ(Messaggi().size(), mostrati);  // saved without a word
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
}

TEST_F(LinksFormTest, ARowOrAHeaderWithAnArticleThatCannotBeRemovedStaysWhole) {
    // The fabric is a component of the models' bills: the article business object refuses to delete it.
    Generato("MODELLO01", "TS-LANA-GRIGIA", "CAM-100");
    Generato("MODELLO01", "TS-LINO-BLU", "TS-COTONE-BIANCO");
    ApriModello("MODELLO01");
    Utente(host::UserScript().SelectRow("QGRD_AGGANCI", 2).Press("GRIDNAV_AGGANCI", p::Elimina));

    EXPECT_EQ(UltimoMessaggio().style, 16);
    EXPECT_THAT(UltimoMessaggio().text, HasSubstr("Impossibile eliminare l'articolo TS-COTONE-BIANCO"));
    EXPECT_TRUE(EsisteArticolo("TS-COTONE-BIANCO"));
    EXPECT_EQ(Griglia()->RowCount(), 3);
    EXPECT_FALSE(Ui().FME_AGGANCIDET->IsChanged());
    EXPECT_EQ(RigheAgganci("MODELLO01"), 3);

    // The header is not deleted at all.
    const auto mostrati = Messaggi().size();
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Elimina));
    ASSERT_GT(Messaggi().size(), mostrati);
    EXPECT_EQ(UltimoMessaggio().style, 16);
    EXPECT_THAT(UltimoMessaggio().text, HasSubstr("Impossibile eliminare l'articolo TS-COTONE-BIANCO"));
    EXPECT_TRUE(EsisteArticolo("CAM-100"));  // removed, then put back with the rest
    EXPECT_NE(GuidTestata("MODELLO01"), "");
    EXPECT_EQ(RigheAgganci("MODELLO01"), 3);
    EXPECT_EQ(Griglia()->RowCount(), 3);
}

TEST_F(LinksFormTest, DeletingAHeaderRemovesItsGeneratedArticlesAndAllItsRows) {
    Generato("MODELLO01", "TS-LINO-BLU", "CAM-100");
    Generato("MODELLO01", "TS-SETA-ROSSA", "CAM-101");
    ApriModello("MODELLO01");
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Elimina));

    ASSERT_FALSE(shell->Messages()->Messages().empty());
    EXPECT_EQ(BoxText(shell->Messages()->Messages().front()),
              "Se si procede verranno eliminate anche tutte le distinte e i dati anagrafici degli agganci codificati "
              "per l'articolo MODELLO01.|Attenzione!|48");
    EXPECT_FALSE(EsisteArticolo("CAM-100"));
    EXPECT_FALSE(EsisteArticolo("CAM-101"));
    EXPECT_TRUE(EsisteArticolo("CAM-102"));
    EXPECT_EQ(GuidTestata("MODELLO01"), "");
    EXPECT_EQ(Conta("SELECT * FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 NOT IN (SELECT FA63_GUID FROM FA63_AGGANCI)"), 0);
    EXPECT_EQ(RigheAgganci("MODELLO02"), 1);  // another model's links are untouched

    // Nothing left: a new header, as for a model without links, saved for the model shown.
    ExpectNewEmptyHeader();
    Utente(host::UserScript().Type("TXT_PREFISSO", "zz"));
    SalvaRiga({{"TXT_TSAGGANCIO", "TS-LINO-BLU"}, {"TXT_DESCARTDAGENERARE", "Camicia lino"}});
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(Valore("SELECT FA63_PREFISSO FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").Text(), "ZZ");
    EXPECT_EQ(RigheAgganci("MODELLO01"), 1);
}

TEST_F(LinksFormTest, RemovingTheLastRowLeavesANewRowThatIsNoChange) {
    ApriModello("MODELLO02");
    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Elimina));
    EXPECT_EQ(Ui().FME_AGGANCIDET->Status(), entry::kvStatoNuovo);
    EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());  // the deletion waits for the header
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(RigheAgganci("MODELLO02"), 0);
    EXPECT_EQ(Ui().FME_AGGANCIDET->Status(), entry::kvStatoNuovo);  // ready for the next row
    EXPECT_FALSE(Ui().FME_AGGANCI->IsChanged());
    // Nothing to ask when the user leaves: nothing was typed.
    Utente(host::UserScript().Click("CMD_NUOVO"));
    const auto messaggi = Messaggi();
    EXPECT_EQ(std::count(messaggi.begin(), messaggi.end(), "Salvare le modifiche?"), 0);
    EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), "");
}

TEST_F(LinksFormTest, ANewModelEmptiesTheTabAfterAskingAboutUnsavedRowsAndSavedRowsGoWithTheHeader) {
    ApriModello("MODELLO01");
    Utente(host::UserScript().Click("CMD_NUOVO"));
    EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), "");
    EXPECT_FALSE(Ui().FRM_PREFISSO->Enabled());
    EXPECT_EQ(Griglia()->RowCount(), 0);
    EXPECT_EQ(Ui().TXT_PREFISSO->Text(), "");

    // Unsaved rows and "cancel" to saving them: the rows and their model stay.
    const std::vector<std::pair<std::string, std::string>> seta = {{"TXT_TSAGGANCIO", "TS-SETA-ROSSA"},
                                                                   {"TXT_DESCARTDAGENERARE", "Pantalone seta"}};
    Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO02"));
    SalvaRiga(seta);
    Utente(host::UserScript().Answer(entry::kAnswerCancel).Type("TXT_MODORIGINE", "MODELLO01"));
    EXPECT_EQ(UltimoMessaggio().text, "Salvare le modifiche?");
    EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), "MODELLO02");
    EXPECT_EQ(Griglia()->RowCount(), 2);
    // "No": dropped, the next model loads.
    Utente(host::UserScript().Answer(entry::kAnswerNo).Type("TXT_MODORIGINE", "MODELLO01"));
    EXPECT_EQ(RigheAgganci("MODELLO02"), 1);
    EXPECT_EQ(Griglia()->RowCount(), 3);

    // Another row of a saved header is written with the header.
    Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO02"));
    SalvaRiga(seta);
    EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());  // something waits to be saved
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(RigheAgganci("MODELLO02"), 2);
    EXPECT_EQ(Valore("SELECT FA64_GUID_FA63 FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-SETA-ROSSA' AND "
                     "FA64_DESCRIZIONE = 'Pantalone seta'")
                  .Text(),
              GuidTestata("MODELLO02"));
    EXPECT_EQ(Colonna("FA64_CODTESS_FA12"), (std::vector<std::string>{"TS-LINO-BLU", "TS-SETA-ROSSA"}));
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());
}

// The save asked when another model is typed saves the links of the model shown, whatever the next model
// holds: MODELLO01 has a header of its own, MODELLO03 no bill with the main fabric, CAM-100 no links.
TEST_F(LinksFormTest, SavingOnAChangeOfModelSavesTheModelShownThenLoadsTheNextOne) {
    const std::string guid = GuidTestata("MODELLO04");
    ApriModello("MODELLO04");
    for (const std::string prossimo : {"MODELLO01", "MODELLO03", "CAM-100"}) {
        SCOPED_TRACE(prossimo);
        const std::string descrizione = "Camicia donna denim " + prossimo;
        Utente(host::UserScript()
                   .Type("TXT_DESCARTDAGENERARE", descrizione)
                   .Answer(entry::kAnswerYes)
                   .Type("TXT_MODORIGINE", prossimo));
        EXPECT_EQ(UltimoMessaggio().text, "Salvare le modifiche?");  // and nothing refused or failed
        EXPECT_EQ(Valore("SELECT FA63_CODART_MG66 FROM FA63_AGGANCI WHERE FA63_GUID = '" + guid + "'").Text(),
                  "MODELLO04");
        EXPECT_EQ(
            Valore("SELECT FA64_DESCRIZIONE FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-DENIM-BLU'").Text(),
            descrizione);
        EXPECT_EQ(Ui().TXT_MODORIGINE->Text(), prossimo);
        Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO04"));
    }
    EXPECT_EQ(Conta("SELECT * FROM FA63_AGGANCI"), 3);
    EXPECT_EQ(RigheAgganci("MODELLO01"), 3);
    EXPECT_EQ(RigheAgganci("MODELLO04"), 3);
}

// The rows of a new header dropped go with it. Each way of leaving a new header with a prefix and a pending new
// row - the form closed (a browser tab released, a command that failed), another model, Annulla, Nuovo, the next
// header - asks once (Annulla never), writes nothing and leaves the next model or, as for a model without links,
// a new header without rows: the prefix can be typed, nothing can be generated, a header can still be saved.
TEST_F(LinksFormTest, ANewHeaderDroppedTakesItsPendingRowWithItAndOffersANewOneAgain) {
    shell->Messages()->SetMessageResponder([](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text == host::controls::DataFrame::kDomandaChiusura) return entry::kAnswerNo;
        return std::nullopt;
    });
    const long testate = Conta("SELECT * FROM FA63_AGGANCI"), righe = Conta("SELECT * FROM FA64_AGGANCIDET");
    const std::tuple<std::string, host::UserScript, long> modi[] = {
        {"close", host::UserScript().Close(), 1},
        {"model", host::UserScript().Type("TXT_MODORIGINE", "MODELLO01"), 1},
        {"Annulla", host::UserScript().Press("INTERNAV_AGGANCI", p::Annulla), 0},
        {"Nuovo", host::UserScript().Press("INTERNAV_AGGANCI", p::Nuovo), 1},
        {"Successivo", host::UserScript().Press("INTERNAV_AGGANCI", p::Successivo), 1}};
    for (const auto& [modo, lascia, domande] : modi) {
        SCOPED_TRACE(modo);
        if (!Form()) Apri();
        Utente(host::UserScript()
                   .Type("TXT_MODORIGINE", "MODELLO03")
                   .Type("TXT_PREFISSO", "kk")
                   .Press("GRIDNAV_AGGANCI", p::Nuovo)
                   .Type("TXT_TSAGGANCIO", "TS-LINO-BLU"));
        const auto prima = shell->Messages()->Messages().size();
        Utente(lascia);
        const auto messaggi = Messaggi();
        EXPECT_EQ(std::count(messaggi.begin() + prima, messaggi.end(), "Salvare le modifiche?"), domande);
        EXPECT_EQ(Conta("SELECT * FROM FA63_AGGANCI"), testate);
        EXPECT_EQ(Conta("SELECT * FROM FA64_AGGANCIDET"), righe);
        if (modo == "close") {
            EXPECT_EQ(Form(), nullptr);
        } else if (modo == "model") {
            EXPECT_EQ(Ui().TXT_PREFISSO->Text(), "AG");
        } else {
            ExpectNewEmptyHeader();
        }
    }
    // Its prefix alone typed is asked about as well.
    const auto asked = Messaggi().size();
    Utente(host::UserScript().Type("TXT_PREFISSO", "kk").Press("INTERNAV_AGGANCI", p::Successivo));
    EXPECT_EQ(Messaggi().size(), asked + 1);
    EXPECT_EQ(Messaggi().back(), "Salvare le modifiche?");
    // The new header offered is one header: saved with a row, it writes one.
    Utente(host::UserScript()
               .Type("TXT_PREFISSO", "zz")
               .Press("GRIDNAV_AGGANCI", p::Nuovo)
               .Type("TXT_TSAGGANCIO", "TS-LINO-BLU")
               .Type("TXT_DESCARTDAGENERARE", "Giacca lino blu")
               .Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(Conta("SELECT * FROM FA63_AGGANCI"), testate + 1);
    EXPECT_EQ(RigheAgganci("MODELLO03"), 1);
}

// The notice that an article stays (the row did not create it) is shown once the deletion is written: while it
// is open, another program can write to the database.
TEST_F(LinksFormTest, TheNoticeOfAnArticleKeptComesAfterTheDeletionsTransaction) {
    Esegui("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66 = 'CAM-100' WHERE FA64_CODTESS_FA12 = 'TS-LINO-BLU' "
           "AND FA64_GUID_FA63 = " + db::SqlText(GuidTestata("MODELLO01")));
    ApriModello("MODELLO01");
    bool noticed = false, writable = false;
    shell->Messages()->SetMessageResponder([&](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text.find("non è stato generato") == std::string::npos) return std::nullopt;
        noticed = true;
        try {
            auto other = db::Connection::Create();
            other->Open(Connessione());
            other->BeginTrans();
            other->RollbackTrans();
            writable = true;
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        return std::nullopt;
    });
    const long righe = RigheAgganci("MODELLO01");
    Utente(host::UserScript().SelectRow("QGRD_AGGANCI", 2).Press("GRIDNAV_AGGANCI", p::Elimina));
    EXPECT_TRUE(noticed);
    EXPECT_TRUE(writable);
    EXPECT_TRUE(EsisteArticolo("CAM-100"));
    EXPECT_EQ(RigheAgganci("MODELLO01"), righe);  // the row goes with the header's save
}
