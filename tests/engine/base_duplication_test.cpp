// The base duplication through SPMG_DUPLICAART on the ERP schema: what it copies, what it refuses, and
// that a failure at any of its statements leaves the database as it was.
#include "DatabaseSnapshot.h"
#include "EngineFixture.h"

#include "db/FaultInjector.h"

using engine::kvMethodOK;

namespace {

class BaseDuplication : public testsupport::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_LINGUA_MG52, MG87_DESCART) "
             "VALUES (1, 'SRC', 'EN', 'Shirt')");
        Exec("INSERT INTO MG68_CONFART (MG68_DITTA_CG18, MG68_CODART_MG66, MG68_CODCONF) VALUES (1, 'SRC', 'BOX')");
        Exec("INSERT INTO MG67_SCORTE (MG67_DITTA_CG18, MG67_CODART_MG66, MG67_MAGAZZINO) VALUES (1, 'SRC', 'MAG1')");
        Exec("INSERT INTO LI10_LISTARTIC (LI10_DITTA_CG18, LI10_CODART_MG66, LI10_FLGVENACQ, LI10_CODLISTINO, LI10_PREZZO) "
             "VALUES (1, 'SRC', 0, 'VEN1', 19.9), (1, 'SRC', 1, 'ACQ1', 7.5)");
        Exec("INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE) "
             "VALUES (1, 'SRC', 'MAG1', 'A')");
        Exec("INSERT INTO SC06_ARTSCORTE (SC06_DITTA_CG18, SC06_CODART_MG66) VALUES (1, 'SRC')");
    }

    long Rows(const std::string& table, const std::string& prefix, const std::string& code,
              const std::string& extra = {}) {
        return Count("SELECT COUNT(*) FROM " + table + " WHERE " + prefix + "_CODART_MG66 = '" + code + "'" + extra);
    }
};

TEST_F(BaseDuplication, CopiesMasterStandardDescriptionAndTheSwitchedOnGroups) {
    CreateNewArticle();
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'NEW'"), 1);
    EXPECT_EQ(Scalar("SELECT MG87_DESCART FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'NEW' AND MG87_LINGUA_MG52 = ' '")
                  .CStr(), "New article");
    EXPECT_EQ(Scalar("SELECT MG87_DESCARTEST FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'NEW'").CStr(),
              "New article, extended");
    // A new description row has an identifier of its own.
    EXPECT_NE(Scalar("SELECT MG87_GUID FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'NEW'").CStr(),
              Scalar("SELECT MG87_GUID FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'SRC' AND MG87_LINGUA_MG52 = ' '").CStr());
    EXPECT_EQ(Rows("MG87_ARTDESC", "MG87", "NEW", " AND MG87_LINGUA_MG52 = 'EN'"), 0);  // languages come later
    EXPECT_EQ(Rows("MG68_CONFART", "MG68", "NEW"), 1);
    EXPECT_EQ(Rows("MG67_SCORTE", "MG67", "NEW"), 1);
    EXPECT_EQ(Rows("LI10_LISTARTIC", "LI10", "NEW"), 2);
    // Groups the engine copies itself are never copied by the procedure.
    EXPECT_EQ(Rows("MG69_UBICAZART", "MG69", "NEW"), 0);
    EXPECT_EQ(Rows("SC06_ARTSCORTE", "SC06", "NEW"), 0);
}

TEST_F(BaseDuplication, GroupsSwitchedOffAreNotCopied) {
    engine = std::make_shared<engine::CLSFA_DUPLICA>();
    engine->Connessione(conn);
    engine->Initialize();
    engine->Ditta(db::Variant(1));
    engine->DescrizioneArticoloDaGenerare(db::Variant("New"));
    for (const char* key : {"KEY1", "KEY13"}) {
        engine->CollDatiDaDuplicare()->Remove(key);
        engine->CollDatiDaDuplicare()->Add(db::Variant(false), key);
    }
    ASSERT_EQ(engine->DuplicazioneAnagraficaBase(src, dst), kvMethodOK);
    EXPECT_EQ(Rows("MG68_CONFART", "MG68", "NEW"), 0);
    EXPECT_EQ(Rows("LI10_LISTARTIC", "LI10", "NEW", " AND LI10_FLGVENACQ = 0"), 0);  // sales lists off
    EXPECT_EQ(Rows("LI10_LISTARTIC", "LI10", "NEW", " AND LI10_FLGVENACQ = 1"), 1);  // purchase lists on
    EXPECT_EQ(Rows("MG67_SCORTE", "MG67", "NEW"), 1);
}

TEST_F(BaseDuplication, AnExistingCodeIsRefusedAndNothingChanges) {
    CreateNewArticle();
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    auto again = std::make_shared<engine::CLSFA_DUPLICA>();
    again->Connessione(conn);
    again->Initialize();
    again->Ditta(db::Variant(1));
    try {
        again->DuplicazioneAnagraficaBase(src, dst);
        FAIL() << "expected an error";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Description(), "Articolo 'NEW' già esistente");
        EXPECT_EQ(e.Source().rfind("DuplicazioneAnagraficaBase\r\nDuplicaBatchByCommand\r\n", 0), 0u);
    }
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);
}

TEST_F(BaseDuplication, AMissingSourceIsRefused) {
    engine = std::make_shared<engine::CLSFA_DUPLICA>();
    engine->Connessione(conn);
    engine->Initialize();
    engine->Ditta(db::Variant(1));
    EXPECT_THROW(engine->DuplicazioneAnagraficaBase(db::Variant("NOPE"), dst), db::Error);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'NEW'"), 0);
}

// With a failure injected at each statement in turn, the caller's rollback leaves the database as it was.
TEST_F(BaseDuplication, AFailureAtAnyStatementLeavesTheDatabaseAsItWas) {
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    int failures = 0;
    for (long n = 1;; ++n) {
        auto e = std::make_shared<engine::CLSFA_DUPLICA>();
        e->Connessione(conn);
        e->Initialize();
        e->Ditta(db::Variant(1));
        e->DescrizioneArticoloDaGenerare(db::Variant("New"));
        conn->BeginTrans();
        conn->Faults().Clear();
        conn->Faults().FailNth(n);
        bool failed = false;
        try {
            e->DuplicazioneAnagraficaBase(src, dst);
        } catch (const db::Error& err) {
            failed = true;
            EXPECT_EQ(err.Source().rfind("DuplicazioneAnagraficaBase\r\n", 0), 0u);
        }
        conn->RollbackTrans();
        conn->Faults().Clear();
        ASSERT_EQ(testsupport::DatabaseSnapshot(*conn), before) << "after a failure at statement " << n;
        if (!failed) break;
        ++failures;
    }
    EXPECT_GT(failures, 5);
}

}  // namespace
