// CreaArticolo on both tabs: what the program object reports, what stops an article, which failing steps
// end it and which are only logged. A failure at each statement in turn is the reliability suite's.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "EngineFixture.h"
#include "TestRunPort.h"
#include "GenerationFixture.h"
#include "SqliteStatementHook.h"
#include "db/FaultInjector.h"
#include "ArticleCopy.h"
#include "db/Quote.h"
#include "generation/CreaArticolo.h"

namespace {

using testsupport::kModello;
using testsupport::kNuovo;
using Lines = std::vector<std::string>;

const std::string kNonGenerato = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";
const std::string kSenzaDistinta = "Errore: DiBa non creata. Articolo Origine senza distinta base !!";
const std::string kProduzione = "Errore in duplicazione dati di produzione \r\n";

class CreaArticolo : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        UseLogFolder("agganci-crea-articolo");
        form = std::make_unique<testsupport::TestRunPort>(conn, program, shell->Messages());
        form->LoadModel(kModello, "TS-LINO-BLU");
        form->LogElaborazione().ApriLog();
        riga = Riga("TS-LINO-BLU");
    }

    bool Crea(const std::string& source, const std::string& code, const std::string& fabric = "TS-LINO-BLU") {
        return form->CreaArticolo(source, code, fabric, &riga);
    }
    // The mass tab: no link fabric, the parameters frame's description.
    void MassTab() {
        form->tab = entry::Util_Duplmassiva;
        form->descrizioneMassiva = "Copia di massa";
    }

    std::unique_ptr<testsupport::TestRunPort> form;
    generation::RigaAggancio riga;
};

// A subscriber of one event that writes nothing.
class QuietListener : public engine::CLSFA_DUPLICA_Events {
public:
    bool Handles(engine::EngineEvent e) const override { return e == engine::EngineEvent::AfterUpdateFA13; }
};

// The product's run asks which of the tables an earlier article found empty hold rows of the model, and
// skips their copies; with a caller's subscriber listening, every copy runs and nothing is asked.
TEST_F(CreaArticolo, TheSourcesEmptyTablesAreAskedAboutOnlyWithoutACallersSubscriber) {
    Exec("DELETE FROM MG4N_ARTTRALIM WHERE MG4N_CODART_MG66 = " + db::SqlText(kModello));
    auto run = std::make_shared<engine::RunConstants>();
    std::vector<std::string> sent;
    testsupport::SqliteStatementHook hook(*conn, [&](sqlite3_stmt*, const char* text) { sent.emplace_back(text); });
    auto copy = [&](const std::string& code, std::shared_ptr<engine::CLSFA_DUPLICA_Events> events) {
        sent.clear();
        const testsupport::ArticleCopy c{.model = kModello, .target = code, .events = std::move(events), .run = run};
        EXPECT_EQ(testsupport::CopyArticle(conn, program, c), "") << code;
        const auto any = [&](const std::string& part) {
            return std::any_of(sent.begin(), sent.end(), [&](const std::string& s) { return s.find(part) != s.npos; });
        };
        return std::make_pair(any("EXISTS (SELECT 1 FROM MG4N_ARTTRALIM"), any("INSERT INTO MG4N_ARTTRALIM"));
    };
    EXPECT_EQ(copy("AGMODELLO01TS-UNO", nullptr), std::make_pair(false, true));  // found empty
    EXPECT_EQ(copy("AGMODELLO01TS-DUE", nullptr), std::make_pair(true, false));  // asked, skipped
    EXPECT_EQ(copy("AGMODELLO01TS-TRE", std::make_shared<QuietListener>()), std::make_pair(false, true));
}

// Missing data stop the article with a message and an existing code is logged, the caller may record it; the
// program object reports each article from cleared results.
TEST_F(CreaArticolo, MissingDataStopTheArticleAndTheProgramObjectReportsEachArticle) {
    const auto& p = *form->programObject;
    const std::string before = Snapshot();
    EXPECT_FALSE(Crea("  ", kNuovo));
    EXPECT_FALSE(Crea(kModello, ""));
    riga.descrizione = db::Variant::Null();
    EXPECT_FALSE(Crea(kModello, kNuovo));
    ASSERT_EQ(shell->Messages()->Messages().size(), 3u);
    for (const auto& m : shell->Messages()->Messages()) {
        EXPECT_EQ(m.text, "Campo obbligatorio mancante o dati inseriti non validi!");
        EXPECT_EQ(m.title, "Dati mancanti o errati");
    }
    EXPECT_EQ(form->focused, std::vector<std::string>{"TXT_DESCARTDAGENERARE"});  // only the missing description sends the user to its box
    EXPECT_TRUE(form->RunLines().empty());
    EXPECT_EQ(Snapshot(), before);
    // The program object still names the article that was asked for.
    EXPECT_EQ(p.Articolo_Destinazione().Text(), kNuovo);
    EXPECT_FALSE(p.DuplicazioneAvvenuta());

    riga = Riga("TS-LINO-BLU");
    EXPECT_TRUE(Crea(kModello, "MODELLO02"));
    EXPECT_EQ(form->RunLines(), Lines{"Errore: Codice articolo da generare già esistente! "});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(p.DuplicazioneAvvenuta());

    // Source, destination and the "Creato" line after a run: generation_run_test.
    ASSERT_TRUE(Crea(kModello, kNuovo));
    EXPECT_TRUE(p.DuplicazioneAvvenuta());
    EXPECT_FALSE(p.InvocaGestioneArticoliClienti() || p.InvocaGestioneArticoliFornitori() ||
                 p.InvocaGestioneParamGestScorte());
    EXPECT_GT(Count("SELECT COUNT(*) FROM MG73_ARTCLIFOR WHERE MG73_CODART_MG66 = '" + kNuovo + "'"), 0);

    // When the caller opens its own managements, their data are left to it.
    form->programObject->InvocaGestione(true);
    ASSERT_TRUE(Crea(kModello, "NUOVO02"));
    EXPECT_TRUE(p.DuplicazioneAvvenuta());
    EXPECT_TRUE(p.InvocaGestioneArticoliClienti() && p.InvocaGestioneArticoliFornitori() &&
                p.InvocaGestioneParamGestScorte());
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG73_ARTCLIFOR WHERE MG73_CODART_MG66 = 'NUOVO02'"), 0);

    // The next article starts from cleared results: a failure leaves them all False.
    EXPECT_FALSE(Crea("MODELLO03", "NUOVO03"));
    EXPECT_FALSE(p.DuplicazioneAvvenuta() || p.InvocaGestioneArticoliClienti() || p.InvocaGestioneArticoliFornitori() ||
                 p.InvocaGestioneParamGestScorte());
    EXPECT_EQ(p.Articolo_Destinazione().Text(), "");
}

// On the links tab a failing step ends the article: its reason is logged, nothing of it stays (a committed copy
// is removed again, no grouping recorded as its own either) and the program object reports no article.
TEST_F(CreaArticolo, AFailingStepOnTheLinksTabEndsTheArticleWithItsReasonLogged) {
    const std::string fault = db::FaultInjector::DefaultError().Description();
    const std::string grouping =
        "The grouping RAGG-SPARITO of variant TAG does not exist: it cannot be copied into the grouping ";
    struct Case {
        std::string source, failing, change, mainFabric;
        Lines lines;
    };
    const Case cases[] = {
        {"MODELLO03", "", "", "", {kSenzaDistinta, kNonGenerato}},
        // The second line says why it failed.
        {kModello, "FROM PD18_ARTPROD", "", "", {kProduzione, fault, kNonGenerato}},
        // The bill's copy reports its failure only through its result: the reason still reaches the log.
        {kModello, "INTO PD95_DISBA", "", "", {"Errore in duplicazione distinta base", fault, kNonGenerato}},
        // Not in the model's bill: the utility reports anomalies after the copy was committed.
        {kModello, "", "", "TS-LANA-GRIGIA",
         {"Sostituzione terminata con anomalie. Controllare esito elaborazione.",
          "Nessuna riga di distinta base con il componente TS-LANA-GRIGIA corrisponde al filtro: PD95_CODART_MG66 = '" +
              kNuovo + "' AND PD96_COMPON = 'TS-LANA-GRIGIA' AND PD95_OPZIONE = '' AND PD96_SEQCOMP = 10",
          kNonGenerato}},
        // A completion that fails, and a removal the database refuses: the new code is already a component of
        // another bill. The article is still undone as a whole, as the log says.
        {kModello, "SET FA12_MODAGG_COD_MG66",
         "INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, PD96_QTA1) "
         "SELECT PD95_DITTA_CG18, PD95_IDDISBA, 90, " + db::SqlText(kNuovo) + ", 1 FROM PD95_DISBA WHERE "
         "PD95_CODART_MG66 = 'MODELLO02'",
         "", {"Errore nella funzione: AggiornaFa12_Fa13", kNonGenerato}},
        // A model's variant whose grouping does not exist cannot be grouped under the new code (last: it changes
        // the model).
        {kModello, "", "UPDATE MG6B_GESVARART SET MG6B_CODRAGGVAR_MG5G = 'RAGG-SPARITO' WHERE MG6B_CODART_MG66 = " +
                           db::SqlText(kModello) + " AND MG6B_CODICEVAR_MG5F = 'TAG'",
         "", {"Errore in duplicazione varianti", grouping + kNuovo, kNonGenerato}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        if (!c.change.empty()) Exec(c.change);
        const std::string before = Snapshot();
        form->LogElaborazione().ApriLog();
        form->tessutoPrincipale = c.mainFabric.empty() ? testsupport::kTessutoPrincipale : c.mainFabric;
        if (!c.failing.empty()) conn->Faults().FailMatching(c.failing);
        EXPECT_FALSE(Crea(c.source, kNuovo));
        conn->Faults().Clear();
        EXPECT_EQ(form->RunLines(), c.lines);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(conn->TransactionLevel(), 0);
        EXPECT_FALSE(form->programObject->DuplicazioneAvvenuta());
        EXPECT_EQ(form->programObject->Articolo_Destinazione().Text(), "");
    }
    // The refused removal was shown.
    ASSERT_FALSE(shell->Messages()->Messages().empty());
    EXPECT_EQ(shell->Messages()->Messages().back().text,
              "Impossibile eliminare l'articolo " + kNuovo +
                  ": è un componente della distinta base dell'articolo MODELLO02.");
}

// Without a main fabric the links tab has no bill-of-materials step. On the mass tab a missing bill or production
// data that fail to copy are only logged and the article is created.
TEST_F(CreaArticolo, AMissingBillOrFailedProductionDataAreOnlyLoggedOnTheMassTab) {
    form->tessutoPrincipale = "";
    EXPECT_TRUE(Crea("MODELLO03", "NUOVO03"));
    EXPECT_TRUE(Exists("NUOVO03"));

    form->LogElaborazione().ApriLog();
    form->tessutoPrincipale = testsupport::kTessutoPrincipale;
    MassTab();
    EXPECT_TRUE(Crea("MODELLO03", "NUOVO04", ""));
    conn->Faults().FailMatching("FROM PD18_ARTPROD");
    EXPECT_TRUE(Crea(kModello, kNuovo, ""));
    conn->Faults().Clear();
    // A failure after the production data were written takes them back: no data pointing to a missing cycle.
    conn->Faults().FailMatching("INSERT INTO PD27_ANAFORMULE");
    EXPECT_TRUE(Crea(kModello, "NUOVO05", ""));
    conn->Faults().Clear();
    const std::string fault = db::FaultInjector::DefaultError().Description();
    EXPECT_EQ(form->RunLines(), (Lines{kSenzaDistinta, "Articolo :  NUOVO04 Creato ", kProduzione, fault,
                                       "Articolo :  " + kNuovo + " Creato ", kProduzione, fault,
                                       "Articolo :  NUOVO05 Creato "}));
    EXPECT_TRUE(Exists("NUOVO04"));
    for (const std::string& code : {kNuovo, std::string("NUOVO05")}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(Exists(code));
        for (const char* table : {"PD18_ARTPROD WHERE PD18_CODART_MG66", "PD27_ANAFORMULE WHERE PD27_CODART_MG66",
                                  "PD52_ANAGCICLI WHERE PD52_CODICE"})
            EXPECT_EQ(Count(std::string("SELECT COUNT(*) FROM ") + table + " = '" + code + "'"), 0) << table;
    }
    EXPECT_GT(Count("SELECT COUNT(*) FROM PD27_ANAFORMULE WHERE PD27_CODART_MG66 = '" + kModello + "'"), 0);
}

// A subscriber that ends the transaction while the engine copies, committing or rolling back: the copy's
// own level notices it, and the article is not generated; nothing of it stays.
TEST_F(CreaArticolo, ASubscriberThatEndsTheTransactionDuringTheCopyLeavesNoArticle) {
    const std::string before = Snapshot();
    for (const bool commit : {true, false}) {
        SCOPED_TRACE(commit);
        auto ender = std::make_shared<testsupport::EventRecorder>();
        ender->onEvent = [&, ended = false](engine::EngineEvent, db::RecordsetPtr&) mutable {
            if (std::exchange(ended, true)) return;
            if (commit) conn->CommitTrans();
            else conn->RollbackTrans();
        };
        form->subscriber = ender;
        EXPECT_FALSE(Crea(kModello, kNuovo));
        EXPECT_FALSE(Exists(kNuovo));
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(conn->TransactionLevel(), 0);
    }
}

}  // namespace
