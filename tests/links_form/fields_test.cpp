// The fields of the links tab: the lists and decodes each lookup box gets, the rules between fields
// (main fabric and sequence, season code and identifier) and the values a save refuses. Quotes typed into
// the fields are the hostile-input suite's.
#include <tuple>

#include <gmock/gmock.h>

#include "LinksFormFixture.h"

using testsupport::LinksFormTest;
using ::testing::Contains;
using ::testing::Not;
namespace p = entry::pulsanti;

// --- Lookups and decodes ---

TEST_F(LinksFormTest, TheLookupFieldsListTheirKindsOfArticleAndDecodeThroughTheFashionServices) {
    Apri();
    Utente(host::UserScript().Pick("TXT_MODORIGINE", "MODELLO02"));
    auto modello = Controllo<host::controls::LookupTextBox>("TXT_MODORIGINE");
    EXPECT_EQ(modello->IDLookup(), "lkp_PF0");
    EXPECT_EQ(modello->LastList().request.title, "Elenco prodotti finiti");
    EXPECT_THAT(Lista("TXT_MODORIGINE"), Contains("MODELLO01"));
    EXPECT_THAT(Lista("TXT_MODORIGINE"), Not(Contains("TS-LINO-BLU")));
    EXPECT_NE(Ui().TXT_DESCMODORIGINE->Text(), "");

    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Nuovo).Pick("TXT_TSAGGANCIO", "TS-SETA-ROSSA"));
    EXPECT_EQ(Controllo<host::controls::LookupTextBox>("TXT_TSAGGANCIO")->IDLookup(), "lkp_TSTS");
    EXPECT_THAT(Lista("TXT_TSAGGANCIO"), Contains("TS-LINO-BLU"));
    EXPECT_THAT(Lista("TXT_TSAGGANCIO"), Not(Contains("MODELLO01")));
    EXPECT_NE(Ui().TXT_DESCTESAGGANCIO->Text(), "");

    // The fields the row shares with the article master.
    Utente(host::UserScript().Pick("TXT_LINEA", "uomo-sport"));
    auto linea = Controllo<host::controls::LookupTextBox>("TXT_LINEA");
    EXPECT_EQ(linea->LastList().request.title, "Elenco linee");
    EXPECT_EQ(linea->LastList().request.connectionString, Connessione());
    EXPECT_EQ(linea->IDLookup(), "lkp_LINEA");
    EXPECT_EQ(Ui().TXT_LINEA->Text(), "UOMO-SPORT");
    EXPECT_EQ(Ui().TXT_DESCLINEA->Text(), "Uomo sportivo");

    // The typologies of finished products only.
    Utente(host::UserScript().Pick("TXT_TIPOLOGIA", "GIACCA"));
    EXPECT_EQ(Lista("TXT_TIPOLOGIA"), (std::vector<std::string>{"CAMICIA", "GIACCA", "PANTALONE"}));
    EXPECT_EQ(Ui().TXT_DESCTIPOLOGIA->Text(), "Giacca");

    Utente(host::UserScript().Type("TXT_MARCHIO", "URBAN").Type("TXT_STAGIONE", "PE2025"));
    EXPECT_EQ(Ui().TXT_DESCMARCHIO->Text(), "Urban Line");
    EXPECT_EQ(Ui().TXT_DESCSTAGIONE->Text(), "Primavera/Estate 2025");
    Utente(host::UserScript().Type("TXT_MARCHIO", "NESSUNO"));
    EXPECT_FALSE(Ui().TXT_MARCHIO->Decodificato());
    EXPECT_EQ(Ui().TXT_DESCMARCHIO->Text(), "");
}

// The season box is not bound to the row: its edit counts all the same, and generation waits for its save.
TEST_F(LinksFormTest, TheMainFabricTheSeasonAndThePrefixFollowTheModelsBillSeasonsAndHeader) {
    ApriModello("MODELLO01");
    ASSERT_TRUE(Ui().CMD_DUPLICA->Enabled());
    // A season code sets the row's season only when the season exists.
    auto righe = Form()->RstAggDettaglio();
    Utente(host::UserScript().Type("TXT_STAGIONE", "XX9999"));
    EXPECT_EQ((*righe)["FA64_STAGIONE_MG5T"].Value().CLng(), IdStagione("AI2025"));
    Utente(host::UserScript().Type("TXT_STAGIONE", "PE2026"));
    EXPECT_EQ((*righe)["FA64_STAGIONE_MG5T"].Value().CLng(), IdStagione("PE2026"));
    EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(Valore("SELECT FA64_STAGIONE_MG5T FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-LANA-GRIGIA'")
                  .CLng(),
              IdStagione("PE2026"));
    EXPECT_TRUE(Ui().CMD_DUPLICA->Enabled());

    // The main fabric list is the fabrics of the model's standard bill, and sets the sequence.
    Utente(host::UserScript().Type("TXT_SEQUENZA", "").Pick("TXT_TESSPRINC", "TS-COTONE-BIANCO"));
    const auto& list = Controllo<host::controls::LookupTextBox>("TXT_TESSPRINC")->LastList();
    EXPECT_EQ(list.request.title, "Elenco tessuti presenti in distinta standard");
    ASSERT_EQ(list.request.fields.size(), 3u);
    EXPECT_EQ(list.request.fields[2].caption, "Sequenza in Diba");
    EXPECT_EQ(Lista("TXT_TESSPRINC"), std::vector<std::string>{"TS-COTONE-BIANCO"});
    // The chosen line's sequence is the header's.
    EXPECT_EQ(Ui().TXT_SEQUENZA->Text(), "10");
    EXPECT_EQ((*Form()->RstAggTestata())["FA63_SEQUENZA"].Value().CLng(), 10);
    EXPECT_EQ(Controllo<host::controls::LookupTextBox>("TXT_TSAGGANCIO")->IDLookup(), "TS_diba");

    // Changing the main fabric empties the sequence, but filling the sequence first keeps it.
    Utente(host::UserScript().Type("TXT_TESSPRINC", "TS-LINO-BLU"));
    EXPECT_EQ(Ui().TXT_SEQUENZA->Text(), "");
    Utente(host::UserScript().Type("TXT_TESSPRINC", "").Type("TXT_SEQUENZA", "10")
               .Type("TXT_TESSPRINC", "TS-COTONE-BIANCO"));
    EXPECT_EQ(Ui().TXT_SEQUENZA->Text(), "10");

    // A new header for a model that has one: the list offers the model's prefix, and choosing it shows
    // the model's header again (a model has one header).
    Utente(host::UserScript()
               .Press("INTERNAV_AGGANCI", p::Salva)
               .Press("INTERNAV_AGGANCI", p::Nuovo)
               .Pick("TXT_PREFISSO", "AG"));
    EXPECT_EQ(Lista("TXT_PREFISSO"), std::vector<std::string>{"AG"});
    EXPECT_EQ(Ui().FME_AGGANCI->Status(), entry::kvStatoNavigazione);
    EXPECT_EQ(Form()->RstAggTestata()->RecordCount(), 1);
    EXPECT_EQ(Griglia()->RowCount(), 3);
}

// --- What a save refuses ---

class RefusalTest : public LinksFormTest {
protected:
    // The last message refuses the save with `testo`, the focus on `campo`; a refused row is still being typed.
    void AttendiRifiuto(const std::string& testo, const std::string& campo, bool riga = true) {
        ASSERT_FALSE(shell->Messages()->Messages().empty());
        EXPECT_EQ(BoxText(UltimoMessaggio()), testo + "|Dati mancanti o errati|48");
        EXPECT_EQ(Form()->ActiveControl(), Form()->Control(campo));
        if (!riga) return;
        EXPECT_EQ(Ui().FME_AGGANCIDET->Status(), entry::kvStatoNuovo);  // still being typed
        EXPECT_EQ(Griglia()->RowCount(), 4);                             // the new row, not saved
    }
};

TEST_F(RefusalTest, ARowNeedsALinkFabricThatIsAFabricADescriptionAndCodesThatExist) {
    ApriModello("MODELLO01");
    SalvaRiga({{"TXT_DESCARTDAGENERARE", "Camicia"}});
    AttendiRifiuto("Campo obbligatorio mancante: Tessuto Aggancio", "TXT_TSAGGANCIO");
    Utente(host::UserScript().Type("TXT_TSAGGANCIO", "MODELLO02").Press("GRIDNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Valore non valido per Tessuto Aggancio: MODELLO02", "TXT_TSAGGANCIO");
    Utente(host::UserScript().Type("TXT_TSAGGANCIO", "TS-LINO-BLU").Type("TXT_DESCARTDAGENERARE", "   ")
               .Press("GRIDNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Campo obbligatorio mancante: Descrizione", "TXT_DESCARTDAGENERARE");
    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Annulla));

    // Season, line, brand and typology must exist; POPELINE is a typology of fabrics, not of finished products.
    const std::tuple<std::string, std::string, std::string> codici[] = {
        {"TXT_STAGIONE", "XX9999", "Stagione"}, {"TXT_LINEA", "NESSUNA", "Linea"},
        {"TXT_MARCHIO", "NESSUNO", "Marchio"}, {"TXT_TIPOLOGIA", "POPELINE", "Tipologia"}};
    for (const auto& [campo, valore, etichetta] : codici) {
        SalvaRiga({{"TXT_TSAGGANCIO", "TS-LINO-BLU"}, {"TXT_DESCARTDAGENERARE", "Camicia"}, {campo, valore}});
        AttendiRifiuto("Valore non valido per " + etichetta + ": " + valore, campo);
        Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Annulla));
    }
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    EXPECT_EQ(RigheAgganci("MODELLO01"), 3);
}

TEST_F(RefusalTest, TheQuantityAndTheSequenceAreNumbersAndTheHeaderRefusesAMainFabricOrSequenceOutsideTheBill) {
    ApriModello("MODELLO01");
    // The shell's frame refuses the text for a numeric column as it is typed; the save refuses it again.
    EXPECT_FALSE(shell->Act(entry::kLinksFormName, host::UserScript()
                                                       .Press("GRIDNAV_AGGANCI", p::Nuovo)
                                                       .Type("TXT_TSAGGANCIO", "TS-LINO-BLU")
                                                       .Type("TXT_DESCARTDAGENERARE", "Camicia")
                                                       .Type("TXT_QTA1", "molta")));
    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Valore non valido per Qta: molta", "TXT_QTA1");

    Utente(host::UserScript().Press("GRIDNAV_AGGANCI", p::Annulla));
    EXPECT_FALSE(shell->Act(entry::kLinksFormName, host::UserScript().Type("TXT_SEQUENZA", "abc")));
    EXPECT_FALSE(Ui().TXT_SEQUENZA->Decodificato());
    Utente(host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Valore non valido per Sequenza: abc", "TXT_SEQUENZA", false);
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());

    // A main fabric that is not in the model's bill (the change empties the sequence).
    Utente(host::UserScript().Type("TXT_TESSPRINC", "TS-LINO-BLU").Press("INTERNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Valore non valido per Tessuto Principale da sostituire 1° liv: TS-LINO-BLU", "TXT_TESSPRINC",
                   false);

    Utente(host::UserScript().Type("TXT_TESSPRINC", "TS-COTONE-BIANCO").Type("TXT_SEQUENZA", "99")
               .Press("INTERNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Valore non valido per Sequenza: 99", "TXT_SEQUENZA", false);
    EXPECT_EQ(Valore("SELECT FA63_TSPRINCIPALE FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").Text(),
              "TS-COTONE-BIANCO");

    Utente(host::UserScript().Type("TXT_SEQUENZA", "10").Click("CHK_CODALT").Press("INTERNAV_AGGANCI", p::Salva));
    AttendiRifiuto("Campo obbligatorio mancante: Codice alternativo", "TXT_CODICEALTERNATIVO", false);
    EXPECT_EQ(Valore("SELECT FA63_FLGCODALT FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").CLng(), 0);
}
