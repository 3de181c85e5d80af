// Production data, formulas, the article's own cycle and the bill of materials: rows written, events,
// host services called, and failures that leave nothing behind.
#include <regex>

#include "DatabaseSnapshot.h"
#include "EngineFixture.h"
#include "ProgramDouble.h"
#include "host/ClsElabDisba.h"
#include "host/CycleService.h"
#include "host/IdentifierService.h"

using engine::kvMethodCanceled;
using engine::kvMethodOK;
using testsupport::Names;

namespace {

// The shell's services, with what the engine asked of them written down. A cycle copy as its arguments in order:
// source cycle, new cycle, description, two option texts, the flag ("1" or "0"), two option texts, the versions.
class RecordingHost : public host::ShellHost {
public:
    int identifierServices = 0, cycleServices = 0;
    std::vector<Names> cycleCalls;
    std::vector<entry::ImpostazioniElabDisba> billSettings;
    std::vector<std::string> billRuns;

    std::shared_ptr<entry::IIdentifierService> CreateIdentifierService() override {
        ++identifierServices;
        return host::ShellHost::CreateIdentifierService();
    }
    std::shared_ptr<entry::ICycleService> CreateCycleService() override {
        ++cycleServices;
        return std::make_shared<Cycles>(*this);
    }
    std::shared_ptr<entry::IElabDisba> CreateElabDisba() override { return std::make_shared<Bills>(*this); }

    struct Cycles : host::CycleService {
        explicit Cycles(RecordingHost& h) : recorder(h) {}
        db::Variant CopiaCiclo(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                               const std::string& e, bool f, const std::string& g, const std::string& h,
                               const db::Variant& from, const db::Variant& to) override {
            recorder.cycleCalls.push_back({a, b, c, d, e, f ? "1" : "0", g, h, from.Text(), to.Text()});
            return host::CycleService::CopiaCiclo(a, b, c, d, e, f, g, h, from, to);
        }
        RecordingHost& recorder;
    };
    struct Bills : host::ClsElabDisba {
        explicit Bills(RecordingHost& h) : recorder(h) {}
        void Impostazioni(const entry::ImpostazioniElabDisba& s) override {
            recorder.billSettings.push_back(s);
            host::ClsElabDisba::Impostazioni(s);
        }
        void Elabora(const db::Variant& ditta) override {
            recorder.billRuns.push_back(ditta.Text());
            host::ClsElabDisba::Elabora(ditta);
        }
        RecordingHost& recorder;
    };
};

class ProductionTest : public testsupport::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        services = std::make_shared<RecordingHost>();
        entry::SetHost(services);
    }

    void CyclePerArticle(bool on) {
        Exec("INSERT INTO PD42_PARGEST (PD42_DITTA_CG18, PD42_FLGCICLOCODART) VALUES (1, " +
             std::string(on ? "1" : "0") + ")");
    }
    void ProductionData(const std::string& cycle) {
        Exec("INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66, PD18_OPZIONE, PD18_CODCICLO, "
             "PD18_TIPOPROD_PD10, PD18_REPARTO, PD18_LOTTOECON, PD18_GGLAVORAZIONE, PD18_NOTE) VALUES "
             "(1, 'SRC', ' ', " + cycle + ", 'CONF', 'TAGLIO', 50, 4, NULL), "
             "(1, 'SRC', 'ROSSO', 'OTHER', 'CONF', 'TAGLIO', 10, 1, 'variant row')");
    }
    // Cycle SRC-C in versions 2 and 5, each with phases and notes linked to its identifier.
    void SourceCycle() {
        Exec("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE, PD52_DESCR, PD52_GUID, "
             "PD52_FLGATTIVO, PD52_NOTE) VALUES (1, 'SRC-C', 5, 'Ciclo v5', 'G5', 1, 'later'), "
             "(1, 'SRC-C', 2, 'Ciclo v2', 'G2', 0, 'first')");
        Exec("INSERT INTO PD53_CICLIFASI (PD53_DITTA_CG18, PD53_CODICE_PD52, PD53_VERSIONE_PD52, PD53_NUMFASE, "
             "PD53_DESCR, PD53_TEMPOLAV) VALUES (1, 'SRC-C', 2, 10, 'Taglio', 1.5), (1, 'SRC-C', 2, 20, 'Cucito', 3), "
             "(1, 'SRC-C', 5, 10, 'Taglio laser', 0.5)");
        Exec("INSERT INTO AG01_ALLEGATI (AG01_DITTA_CG18, AG01_GUIDRIF, AG01_ENTITA, AG01_PROG, AG01_DESCR) VALUES "
             "(1, 'G2', 21, 1, 'Scheda tecnica'), (1, 'G2', 3, 1, 'other entity'), (1, 'G5', 21, 1, 'v5 sheet')");
    }
    // One cycle per article, production data on cycle SRC-C (in versions 2 and 5), and the new article.
    void NewArticleWithCyclePerArticle() {
        CyclePerArticle(true);
        ProductionData("'SRC-C'");
        SourceCycle();
        CreateNewArticle();
    }
    // Two formulas of the base article (option blank) and one of its size XL.
    void Formulas() {
        Exec("INSERT INTO PD27_ANAFORMULE (PD27_DITTA_CG18, PD27_CODART_MG66, PD27_OPZIONE, PD27_CODFORMULA, "
             "PD27_DESCR, PD27_FORMULA) VALUES (1, 'SRC', ' ', 'F1', 'Tessuto', 'QTA*1.1'), "
             "(1, 'SRC', ' ', 'F2', NULL, 'QTA*2'), (1, 'SRC', 'XL', 'F9', NULL, 'QTA*3')");
    }
    // "KEY26" on: the new cycle comes with the phases and linked data of its source.
    static void WithCycleContents(engine::CLSFA_DUPLICA& e) {
        e.CollDatiDaDuplicare()->Remove("KEY26");
        e.CollDatiDaDuplicare()->Add(db::Variant(true), "KEY26");
    }
    std::string CycleGuid(const std::string& code) {
        return Scalar("SELECT PD52_GUID FROM PD52_ANAGCICLI WHERE PD52_CODICE = '" + code + "'").Text();
    }

    std::shared_ptr<RecordingHost> services;
};

// Without one cycle per article the new data keep the source's cycle and no cycle is made.
TEST_F(ProductionTest, WithoutCyclePerArticleTheNewDataKeepTheSourceCycle) {
    ProductionData("'SRC-C'");
    SourceCycle();
    CreateNewArticle();  // no production parameters: one cycle per article is off
    // The row written (the base article's only, with the source's cycle): the table of
    // WithoutListenersTheProductionDataAreTheRowCopysInFewerStatements.
    ASSERT_EQ(engine->DuplicazioneDatiProduzione(src, dst), kvMethodOK);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = 'NEW'"), 0);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdatePD18", "AfterUpdatePD18"}));
    EXPECT_EQ(services->identifierServices, 0);
}

// What the source has decides which steps run: without production data no cycle is looked for (without formulas
// the cycle step still runs: Key26CopiesThePhasesAndLinkedDataOfTheFirstVersionWithOrWithoutListeners).
TEST_F(ProductionTest, CyclePerArticleCreatesTheNewCycleFromTheFirstVersion) {
    CyclePerArticle(true);
    SourceCycle();
    Formulas();
    CreateNewArticle();
    ASSERT_EQ(engine->DuplicazioneDatiProduzione(src, dst), kvMethodOK);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdatePD27", "AfterUpdatePD27"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = 'NEW'"), 0);

    ProductionData("'SRC-C'");
    Exec("DELETE FROM PD27_ANAFORMULE WHERE PD27_CODART_MG66 = 'NEW'");
    recorder->names.clear();
    recorder->rows.clear();
    engine->DescrizioneArticoloDaGenerare(db::Variant("Giacca in lana vergine è più calda, taglio sartoriale"));
    ASSERT_EQ(engine->DuplicazioneDatiProduzione(src, dst), kvMethodOK);

    // The first version; 40 characters of the description; the table's defaults, not the source's values.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD52_VERSIONE, PD52_DESCR, PD52_FLGATTIVO, PD52_NOTE FROM "
                                       "PD52_ANAGCICLI WHERE PD52_CODICE = 'NEW'"),
              Names{"2|Giacca in lana vergine è più calda, tagl|1|<null>"});
    EXPECT_TRUE(std::regex_match(CycleGuid("NEW"), std::regex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")));
    EXPECT_EQ(Scalar("SELECT PD18_CODCICLO FROM PD18_ARTPROD WHERE PD18_CODART_MG66 = 'NEW'").Text(), "NEW");

    EXPECT_EQ(recorder->names, (Names{"BeforeUpdatePD18", "AfterUpdatePD18", "BeforeUpdatePD27", "AfterUpdatePD27",
                                      "BeforeUpdatePD52", "AfterUpdatePD52"}));
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1, 2, 2, 1, 1}));
    EXPECT_EQ(engine->StatementText(),
              "SELECT TOP 1 * FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = 1 AND PD52_CODICE = 'SRC-C' AND NOT EXISTS "
              "(SELECT PD52_CODICE FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = 1 AND PD52_CODICE = 'NEW') ORDER BY "
              "PD52_VERSIONE");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD27_ANAFORMULE WHERE PD27_CODART_MG66 = 'NEW' AND PD27_DESCR IS NULL"), 1);

    // "KEY26" is False after Initialize: the header comes without phases and without linked data.
    EXPECT_EQ(services->cycleServices, 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = 'NEW'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = '" + CycleGuid("NEW") + "'"), 0);

    // The formulas of the base article only (option blank), whether row by row or in one statement.
    ASSERT_EQ(QuietEngine()->DuplicazioneDatiProduzione(src, db::Variant("SET")), kvMethodOK);
    for (const std::string code : {"NEW", "SET"})
        EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD27_OPZIONE, PD27_CODFORMULA FROM PD27_ANAFORMULE WHERE "
                                           "PD27_CODART_MG66 = '" + code + "' ORDER BY 2"),
                  (Names{" |F1", " |F2"}))
            << code;
}

// With "KEY26" the new cycle gets the phases and linked data of the first version; a handler sees it before it
// is written. Without listeners it is written from its values, the source read for its first version alone: the
// same header, phases and linked data as the row copy's, in fewer statements.
TEST_F(ProductionTest, Key26CopiesThePhasesAndLinkedDataOfTheFirstVersionWithOrWithoutListeners) {
    NewArticleWithCyclePerArticle();
    WithCycleContents(*engine);
    recorder->onEvent = [](engine::EngineEvent e, db::RecordsetPtr& target) {
        if (e == engine::EngineEvent::BeforeUpdatePD52) (*target)["PD52_NOTE"].Value(db::Variant("set by handler"));
    };
    auto quiet = QuietEngine();
    WithCycleContents(*quiet);
    const long rowByRow = StatementsOf([&] { ASSERT_EQ(engine->DuplicazioneDatiProduzione(src, dst), kvMethodOK); });
    EXPECT_LT(StatementsOf([&] { ASSERT_EQ(quiet->DuplicazioneDatiProduzione(src, db::Variant("SET")), kvMethodOK); }),
              rowByRow);
    // No formulas: the cycle step still runs.
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdatePD18", "AfterUpdatePD18", "BeforeUpdatePD52", "AfterUpdatePD52"}));

    EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD52_CODICE, PD52_VERSIONE, PD52_DESCR, PD52_FLGATTIVO, PD52_NOTE FROM "
                                       "PD52_ANAGCICLI WHERE PD52_CODICE IN ('NEW', 'SET') ORDER BY 1"),
              (Names{"NEW|2|New article|1|set by handler", "SET|2|New article|1|<null>"}));
    EXPECT_TRUE(std::regex_match(CycleGuid("SET"), std::regex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")));
    EXPECT_NE(CycleGuid("SET"), CycleGuid("NEW"));
    std::string statement = engine->StatementText();
    EXPECT_EQ(quiet->StatementText(), statement.replace(statement.find("'NEW'"), 5, "'SET'"));

    // The first version's phases, once for each new cycle.
    EXPECT_EQ(services->cycleCalls,
              (std::vector<Names>{{"SRC-C", "NEW", "New article", "", "", "1", "", "", "2", "2"},
                                  {"SRC-C", "SET", "New article", "", "", "1", "", "", "2", "2"}}));
    for (const std::string code : {"NEW", "SET"})
        EXPECT_EQ(testsupport::Rows(*conn, "SELECT AG01_ENTITA, AG01_DESCR FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = '" +
                                               CycleGuid(code) + "'"),
                  Names{"21|Scheda tecnica"})
            << code;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF IN ('G2', 'G5')"), 3);  // sources kept
}

// A cycle the new code already has, made by no engine, is left alone by fresh engines whichever way the data are
// copied: nothing written to it, no service asked for; the data name it.
TEST_F(ProductionTest, AnExistingCycleOfTheNewCodeIsLeftAlone) {
    Exec("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE, PD52_DESCR, PD52_GUID) "
         "VALUES (1, 'NEW', 7, 'own cycle', 'GNEW'), (1, 'SET', 7, 'own cycle', 'GSET')");
    NewArticleWithCyclePerArticle();
    WithCycleContents(*engine);
    auto quiet = QuietEngine();
    WithCycleContents(*quiet);
    ASSERT_EQ(engine->DuplicazioneDatiProduzione(src, dst), kvMethodOK);
    ASSERT_EQ(quiet->DuplicazioneDatiProduzione(src, db::Variant("SET")), kvMethodOK);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD52_CODICE, PD52_VERSIONE, PD52_DESCR, PD52_GUID FROM PD52_ANAGCICLI "
                                       "WHERE PD52_CODICE IN ('NEW', 'SET') ORDER BY 1"),
              (Names{"NEW|7|own cycle|GNEW", "SET|7|own cycle|GSET"}));
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdatePD18", "AfterUpdatePD18"}));
    EXPECT_EQ(services->cycleServices, 0);
    EXPECT_EQ(services->identifierServices, 0);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD18_CODCICLO FROM PD18_ARTPROD WHERE PD18_CODART_MG66 IN ('NEW', "
                                       "'SET') ORDER BY 1"),
              (Names{"NEW", "SET"}));
}

// Without listeners the production data are written in one statement, with the same cycle code as the row copy's;
// a blank cycle code becomes Null either way.
TEST_F(ProductionTest, WithoutListenersTheProductionDataAreTheRowCopysInFewerStatements) {
    for (const auto& [cycle, perArticle] : std::vector<std::pair<std::string, bool>>{
             {"'SRC-C'", true}, {"'SRC-C'", false}, {"'   '", true}, {"'   '", false}, {"NULL", false}}) {
        SCOPED_TRACE(cycle + (perArticle ? " per article" : ""));
        for (const char* table : {"PD42_PARGEST", "PD18_ARTPROD", "MG87_ARTDESC WHERE MG87_CODART_MG66 <> 'SRC'",
                                  "MG66_ANAGRART WHERE MG66_CODART <> 'SRC'"})
            Exec(std::string("DELETE FROM ") + table);
        CyclePerArticle(perArticle);
        ProductionData(cycle);
        CreateNewArticle();  // the recorder hears every event: row by row
        auto copy = [&](engine::CLSFA_DUPLICA& e, const db::Variant& code) {
            return StatementsOf([&] { ASSERT_EQ(e.DuplicazioneDatiProduzione(src, code), kvMethodOK); });
        };
        const long rowByRow = copy(*engine, dst);
        EXPECT_LT(copy(*QuietEngine(), db::Variant("SET")), rowByRow);

        auto rows = [&](const std::string& code) {
            return testsupport::Rows(*conn, "SELECT PD18_OPZIONE, REPLACE(PD18_CODCICLO, PD18_CODART_MG66, '<new>'), "
                                            "PD18_REPARTO, PD18_LOTTOECON, PD18_NOTE FROM PD18_ARTPROD WHERE "
                                            "PD18_CODART_MG66 = " + db::SqlText(code));
        };
        const std::string expected = cycle == "'SRC-C'" ? (perArticle ? "<new>" : "SRC-C") : "<null>";
        EXPECT_EQ(rows("SET"), Names{" |" + expected + "|TAGLIO|50|<null>"});
        EXPECT_EQ(rows("SET"), rows("NEW"));
    }
}

// A failure inside a host service (here the cycle's phases) reaches the caller with the operation's
// name, and the caller's rollback leaves the database as it was. A missing switch is an error of the operation.
TEST_F(ProductionTest, FailuresAreTheOperationsAndAServicesIsUndoneByTheCallersRollback) {
    NewArticleWithCyclePerArticle();
    WithCycleContents(*engine);
    conn->BeginTrans();
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    conn->Faults().FailMatching("INSERT INTO PD53_CICLIFASI");
    EXPECT_EQ(ErrorOf([&] { engine->DuplicazioneDatiProduzione(src, dst); }, "DuplicazioneDatiProduzione").Number(),
              db::errc::InjectedFault);
    conn->RollbackTrans();
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);

    engine->CollDatiDaDuplicare()->Remove("KEY26");
    EXPECT_EQ(ErrorOf([&] { engine->DuplicazioneDatiProduzione(src, dst); }, "DuplicazioneDatiProduzione").Number(),
              db::errc::KeyNotFound);
}

// --- Bill of materials ---

class BillOfMaterialsTest : public ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        global = std::make_shared<testsupport::GlobalDouble>();
        global->utenteDescrizione = "Mario Rossi";
        program = testsupport::ProgramWith(global, conn);
    }
    void SourceBill() {
        Exec("INSERT INTO PD95_DISBA (PD95_DITTA_CG18, PD95_CODART_MG66, PD95_OPZIONE, PD95_DESCR, PD95_QTABASE, "
             "PD95_UTENTE) VALUES (1, 'SRC', ' ', 'Distinta giacca', 1, 'Amministratore')");
        sourceId = Scalar("SELECT PD95_IDDISBA FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'SRC'").CLng();
        const std::string id = std::to_string(sourceId);
        Exec("INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, PD96_QTA1, "
             "PD96_UM) VALUES (1, " + id + ", 1, 'TESS-A', 1.8, 'MT'), (1, " + id + ", 2, 'BOTTONE', 6, 'NR')");
    }
    engine::EnumMethodResult CopyBill() {
        return engine->DuplicazioneDiBa(src, dst, program, db::Variant("sqlite::memory:"), db::Variant(1));
    }

    std::shared_ptr<testsupport::GlobalDouble> global;
    std::shared_ptr<testsupport::ProgramDouble> program;
    long sourceId = 0;
};

// Nothing to do without a source bill; not done, with nothing written, when a step fails or without a program;
// otherwise done once.
TEST_F(BillOfMaterialsTest, TheNewArticleGetsAHeaderAndLinesOfItsOwnOnceAndAFailedCopyWritesNothing) {
    CreateNewArticle();
    EXPECT_EQ(CopyBill(), kvMethodOK);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA"), 0);
    SourceBill();
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    conn->Faults().FailMatching("INSERT INTO PD96_LEGAMIDISBA");  // after the new header is written
    EXPECT_EQ(CopyBill(), kvMethodCanceled);
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);
    ASSERT_EQ(conn->Errors().size(), 1u);
    EXPECT_EQ(conn->Errors().front().Number(), db::errc::InjectedFault);
    EXPECT_EQ(conn->Errors().front().Source().rfind("DuplicazioneDiBa\r\n", 0), 0u);

    // Inside the caller's transaction too: the article can still be committed without a half bill.
    conn->BeginTrans();
    conn->Faults().FailMatching("INSERT INTO PD96_LEGAMIDISBA");
    EXPECT_EQ(CopyBill(), kvMethodCanceled);
    EXPECT_EQ(conn->TransactionLevel(), 1);
    conn->CommitTrans();
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);

    program->ClsGlobal(nullptr);  // no user to write on the header: not done
    const auto runs = services->billRuns.size();
    EXPECT_EQ(CopyBill(), kvMethodCanceled);
    EXPECT_EQ(engine->DuplicazioneDiBa(src, dst, nullptr, db::Variant(""), db::Variant(1)), kvMethodCanceled);
    EXPECT_EQ(services->billRuns.size(), runs);
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);
    program->ClsGlobal(global);  // the program back: done, so the cancels came from its absence, not earlier failures
    const auto settings = services->billSettings.size();
    ASSERT_EQ(CopyBill(), kvMethodOK);

    // A header and lines of its own, through the processing given its settings in order; not done a second time.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT PD95_DESCR, PD95_UTENTE, PD95_TIPO_DISTINTA FROM PD95_DISBA "
                                       "WHERE PD95_CODART_MG66 = 'NEW'"),
              Names{"Distinta giacca|Mario Rossi|0"});
    const long newId = Scalar("SELECT PD95_IDDISBA FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'").CLng();
    EXPECT_NE(newId, sourceId);
    const std::string lines = "SELECT PD96_SEQCOMP, PD96_COMPON, PD96_QTA1, PD96_UM FROM PD96_LEGAMIDISBA WHERE "
                              "PD96_IDDISBA_PD95 = ";
    EXPECT_EQ(testsupport::Rows(*conn, lines + std::to_string(newId) + " ORDER BY 1"),
              (Names{"1|TESS-A|1.8|MT", "2|BOTTONE|6|NR"}));
    EXPECT_EQ(testsupport::Rows(*conn, lines + std::to_string(sourceId)).size(), 2u);  // the model's bill is untouched
    EXPECT_TRUE(recorder->names.empty());

    ASSERT_EQ(services->billSettings.size(), settings + 1);
    const auto& s = services->billSettings.back();
    EXPECT_EQ(s.stringaConnessione, "sqlite::memory:");
    EXPECT_EQ(s.modoConnessione, 0);
    EXPECT_EQ(s.connessione, conn);
    EXPECT_EQ(s.programma, program);
    auto key = [](const auto& k) { return Names{k.articolo, k.opzione, k.codice, std::to_string(k.tipo)}; };
    EXPECT_EQ(key(s.origine), (Names{"SRC", "", "", "0"}));
    EXPECT_EQ(key(s.destinazione), (Names{"NEW", "", "", "0"}));
    EXPECT_EQ(s.utente, "Mario Rossi");
    const std::vector<db::Variant> expected{0, 1, 1, 0, 0, 0, 0, true, "", "", false};
    ASSERT_EQ(s.opzioni.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.opzioni[i].Type(), expected[i].Type()) << i;
        EXPECT_TRUE(s.opzioni[i].Equals(expected[i])) << i;
    }
    EXPECT_EQ(services->billRuns.size(), runs + 1);
    EXPECT_EQ(services->billRuns.back(), "1");

    EXPECT_EQ(CopyBill(), kvMethodCanceled);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'"), 1);
}

}  // namespace
