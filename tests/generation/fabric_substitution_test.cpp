// The link fabric in the generated article's bill of materials: the main fabric replaced on the lines the
// link header names, the link row's quantity set, anomalies reported in the log with the utility's text.
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "generation/FabricSubstitution.h"
#include "host/ClsDisBaUtility.h"

namespace {

using testsupport::kModello;
using testsupport::kNuovo;
using testsupport::kTessutoPrincipale;
using testsupport::LogLine;

class FabricSubstitution : public testsupport::GenerationFixture {
protected:
    // A second line of the model's bill with the main fabric (sequence 70), before the copy.
    void AddSecondMainFabricLine() {
        Exec("INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, PD96_QTA1) "
             "SELECT PD95_DITTA_CG18, PD95_IDDISBA, 70, 'TS-COTONE-BIANCO', 0.2 FROM PD95_DISBA WHERE "
             "PD95_CODART_MG66 = 'MODELLO01'");
    }
    bool Substitute(long sequence, const db::Variant& quantity, const std::string& linkFabric = "TS-LINO-BLU",
                    const std::string& mainFabric = kTessutoPrincipale, const std::string& article = kNuovo) {
        generation::RigaAggancio riga = Riga("TS-LINO-BLU");
        riga.quantita = quantity;
        return generation::AggiornaDistinta(contesto, {mainFabric, sequence}, riga, article, kModello, linkFabric,
                                            Log());
    }
    // "component quantity" of each line of an article's bill, by sequence.
    std::string Lines(const std::string& article) {
        auto rs = conn->Execute("SELECT PD96_SEQCOMP, PD96_COMPON, PD96_QTA1 FROM PD96_LEGAMIDISBA INNER JOIN "
                                "PD95_DISBA ON PD95_IDDISBA = PD96_IDDISBA_PD95 WHERE PD95_CODART_MG66 = " +
                                db::SqlText(article) + " ORDER BY PD96_SEQCOMP");
        std::string out;
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
            out += (*rs)[0].Value().Text() + " " + db::RTrim((*rs)[1].Value().Text()) + " " +
                   db::Variant((*rs)[2].Value().CDbl()).CStr() + "\n";
        return out;
    }
};

// The lines of MODELLO01's bill after its fabric line.
const std::string kAccessories =
    "20 ACC-BOTTONE-MADRE 12\n30 ACC-FILO-COTONE 180\n40 ACC-ETICHETTA 1\n50 ACC-INTERFODERA 0.25\n60 ACC-BUSTA 1\n";
const std::string kCopiedBill = "10 TS-COTONE-BIANCO 1.65\n" + kAccessories;

// A sequence limits both steps to its line: the second line with the main fabric stays as copied; sequence
// zero means every line with the main fabric. A quantity of zero or Null leaves the quantities as they are.
TEST_F(FabricSubstitution, TheMainFabricGivesWayToTheLinkFabricWithTheRowsQuantity) {
    AddSecondMainFabricLine();
    const std::string every = "AGMODELLO01TS-OGNI";
    ASSERT_TRUE(Duplicate(kNuovo));
    ASSERT_TRUE(Duplicate(every));
    ASSERT_EQ(Lines(kNuovo), kCopiedBill + "70 TS-COTONE-BIANCO 0.2\n");
    EXPECT_TRUE(Substitute(10, db::Variant(1.7)));
    EXPECT_EQ(Lines(kNuovo), "10 TS-LINO-BLU 1.7\n" + kAccessories + "70 TS-COTONE-BIANCO 0.2\n");
    EXPECT_TRUE(Substitute(0, db::Variant(1.5), "TS-LINO-BLU", kTessutoPrincipale, every));
    EXPECT_EQ(Lines(every), "10 TS-LINO-BLU 1.5\n" + kAccessories + "70 TS-LINO-BLU 1.5\n");
    EXPECT_EQ(Lines(kModello), kCopiedBill + "70 TS-COTONE-BIANCO 0.2\n");

    EXPECT_TRUE(Substitute(10, db::Variant(0), "TS-SETA-ROSSA", "TS-LINO-BLU"));
    EXPECT_EQ(Lines(kNuovo), "10 TS-SETA-ROSSA 1.7\n" + kAccessories + "70 TS-COTONE-BIANCO 0.2\n");
    EXPECT_TRUE(Substitute(0, db::Variant::Null(), "TS-SETA-ROSSA", "TS-LINO-BLU", every));
    EXPECT_EQ(Lines(every), "10 TS-SETA-ROSSA 1.5\n" + kAccessories + "70 TS-SETA-ROSSA 1.5\n");
    EXPECT_TRUE(log.empty());
}

// What the utility reports as anomalies, and an unexpected error: the article fails, its bill stays as copied
// and the failure is logged (with the utility's text), never shown. A quantity the update refuses fails it too.
TEST_F(FabricSubstitution, FailuresFailTheArticleAndAreLogged) {
    const std::string lead = "Sostituzione terminata con anomalie. Controllare esito elaborazione.";
    const std::string none = "Nessuna riga di distinta base con il componente ";
    const std::string filter = " corrisponde al filtro: PD95_CODART_MG66 = 'AGMODELLO01TS-LINO-BLU' AND PD96_COMPON = ";
    struct Case {
        long sequence;
        std::string linkFabric, mainFabric, anomaly;
    };
    const Case cases[] = {
        {0, "TS-LINO-BLU", "TS-LANA-GRIGIA", none + "TS-LANA-GRIGIA" + filter + "'TS-LANA-GRIGIA' AND PD95_OPZIONE = ''"},
        {20, "TS-LINO-BLU", kTessutoPrincipale,
         none + "TS-COTONE-BIANCO" + filter + "'TS-COTONE-BIANCO' AND PD95_OPZIONE = '' AND PD96_SEQCOMP = 20"},
        {10, "TS-INESISTENTE", kTessutoPrincipale,
         "Il componente sostitutivo TS-INESISTENTE non esiste in anagrafica articoli."}};
    ASSERT_TRUE(Duplicate(kNuovo));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.anomaly);
        log.clear();
        EXPECT_FALSE(Substitute(c.sequence, db::Variant(1.7), c.linkFabric, c.mainFabric));
        EXPECT_EQ(log, (std::vector<LogLine>{{lead, 2}, {c.anomaly, 2}}));
        EXPECT_EQ(Lines(kNuovo), kCopiedBill);
    }

    log.clear();
    conn->Faults().FailMatching("UPDATE PD96_LEGAMIDISBA");
    EXPECT_FALSE(Substitute(10, db::Variant(1.7)));
    conn->Faults().Clear();
    EXPECT_EQ(log, (std::vector<LogLine>{{"Errore nella funzione: AggiornaDistinta - Injected fault", 3}}));
    EXPECT_EQ(Lines(kNuovo), kCopiedBill);
    EXPECT_TRUE(shell->Messages()->Messages().empty());
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());

    log.clear();
    EXPECT_FALSE(Substitute(10, db::Variant(-1)));
    EXPECT_EQ(log, (std::vector<LogLine>{{"Aggiornamento quantità necessaria non andata a buon fine.", 2},
                                         {"Quantità non valida: -1", 2}}));
    EXPECT_EQ(Lines(kNuovo), "10 TS-LINO-BLU 1.65\n" + kAccessories);  // substituted, quantity as copied
}

// The utility on its own: what it refuses to do.
TEST_F(FabricSubstitution, WhatTheUtilityRefusesChangesNothingAndTheFilterOnlyChoosesAmongTheComponentsLines) {
    host::ClsDisBaUtility utility;
    utility.Connection(conn);
    utility.ComponenteDaSostituire(kTessutoPrincipale);
    utility.ComponenteSostitutivo("TS-LINO-BLU");
    utility.Modalita(1);
    utility.Filtro("  ");
    EXPECT_TRUE(utility.EseguiSostituzione(db::Variant(1)));
    EXPECT_EQ(utility.Anomalie(), "Filtro delle righe di distinta base non indicato.");
    utility.Filtro("PD95_CODART_MG66 = 'MODELLO01'; DROP TABLE PD96_LEGAMIDISBA");  // outside the grammar
    EXPECT_THROW(utility.EseguiSostituzione(db::Variant(1)), db::Error);

    // Each run checks its mode and lists every anomaly.
    utility.Modalita(2);
    utility.Filtro("PD95_CODART_MG66 = 'MODELLO01'");
    utility.ComponenteDaSostituire("");
    EXPECT_TRUE(utility.EseguiSostituzione(db::Variant(1)));
    EXPECT_EQ(utility.Anomalie(),
              "Modalità di elaborazione 2 non valida per la sostituzione dei componenti.\r\n"
              "Componente da sostituire non indicato.");
    utility.Modalita(1);
    EXPECT_TRUE(utility.EseguiAggiornamentoQuantita(db::Variant(1)));
    EXPECT_EQ(utility.Anomalie(), "Modalità di elaborazione 1 non valida per l'aggiornamento delle quantità.");
    EXPECT_EQ(Lines(kModello), kCopiedBill);

    utility.ComponenteDaSostituire(kTessutoPrincipale);
    utility.Filtro("PD96_SEQCOMP >= 10");  // every line of every bill, yet only the fabric lines may change
    EXPECT_FALSE(utility.EseguiSostituzione(db::Variant(1)));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_COMPON = 'TS-COTONE-BIANCO'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_COMPON = 'ACC-BUSTA'"),
              Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_SEQCOMP = 60 AND PD96_COMPON = 'ACC-BUSTA'"));
}

}  // namespace
