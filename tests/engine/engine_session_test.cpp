// The engine session: group switches, the stored procedure's parameters, error sources, no-op operations.
#include <gtest/gtest.h>

#include <map>

#include "db/Command.h"
#include "db/Connection.h"
#include "db/ProcedureRegistry.h"
#include "engine/CLSFA_DUPLICA.h"
#include "host/HostFactory.h"

using engine::CLSFA_DUPLICA;
using engine::kvMethodOK;

namespace {

// Stands in for SPMG_DUPLICAART: keeps what it was given.
struct CapturedCall {
    std::map<std::string, db::Variant> values;
    int calls = 0;
};
CapturedCall captured;

class EngineSession : public ::testing::Test {
protected:
    void SetUp() override {
        host::InstallShellHost();
        captured = {};
        db::RegisterProcedure("SPMG_DUPLICAART", [](db::Connection&, db::Parameters& p) {
            ++captured.calls;
            for (const auto& param : p.All()) captured.values[param->Name()] = param->Value();
        });
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        engine = std::make_shared<CLSFA_DUPLICA>();
        engine->Connessione(conn);
        engine->Initialize();
        engine->Ditta(db::Variant(1));
    }
    void TearDown() override { db::RegisterProcedure("SPMG_DUPLICAART", nullptr); }

    long FlagSent(const std::string& name) { return captured.values.at(name).CLng(); }

    db::ConnectionPtr conn;
    std::shared_ptr<CLSFA_DUPLICA> engine;
};

const char* kKeyFlags[][2] = {
    {"KEY1", "@NODUP_MG68_CONFART"},       {"KEY2", "@NODUP_MG67_SCORTE"},
    {"KEY3", "@NODUP_MG84_ARTALTER"},      {"KEY4", "@NODUP_MG85_ARTSOST"},
    {"KEY5", "@NODUP_MG86_ARTCONC"},       {"KEY8", "@NODUP_MG92_ARTPACKL"},
    {"KEY9", "@NODUP_MG7A_UBICAZARTFIX"},  {"KEY13", "@NODUP_LI10_LISTARTICVEN"},
    {"KEY14", "@NODUP_LI10_LISTARTICACQ"}, {"KEY15", "@NODUP_LI11_ULTPRACQVEN"},
    {"KEY16", "@NODUP_MG72_APPLICART"},    {"KEY17", "@NODUP_MG43_ARTPERS"},
    {"KEY19", "@NODUP_MG98_MAGINTRA"},     {"KEY20", "@NODUP_MG6M_PARAMARTLOTTI"},
};
const char* kNeverCleared[] = {"@NODUP_MG69_UBICAZART",  "@NODUP_MG65_BARCODE",   "@NODUP_MG6C_ANAGRARTAGE",
                               "@NODUP_MG6D_FLGTABARTVAR", "@NODUP_MG4N_ARTTRALIM", "@NODUP_SC06_ARTSCORTE",
                               "@NODUP_PK07_ARTIMB",     "@NODUP_PD18_ARTPROD"};

void SetSwitch(CLSFA_DUPLICA& e, const std::string& key, bool value) {
    e.CollDatiDaDuplicare()->Remove(key);
    e.CollDatiDaDuplicare()->Add(db::Variant(value), key);
}

TEST_F(EngineSession, InitializeHoldsTheFifteenSwitchesWithKey26Off) {
    auto coll = engine->CollDatiDaDuplicare();
    ASSERT_EQ(coll->Count(), 15);
    for (const auto& kf : kKeyFlags) EXPECT_TRUE(coll->Item(kf[0]).CBool()) << kf[0];
    EXPECT_FALSE(coll->Item("KEY26").CBool());
    EXPECT_FALSE(coll->Contains("KEY6"));

    // A second Initialize replaces the collection: the old one is no longer the engine's.
    SetSwitch(*engine, "KEY1", false);
    engine->Initialize();
    EXPECT_NE(engine->CollDatiDaDuplicare(), coll);
    EXPECT_TRUE(engine->CollDatiDaDuplicare()->Item("KEY1").CBool());
}

TEST_F(EngineSession, TwentyNineParametersInOrder) {
    const auto& params = engine->Command()->GetParameters();
    ASSERT_EQ(params.Count(), 29);
    EXPECT_EQ(params[0].Name(), "@DITTA");
    EXPECT_EQ(params[0].Type(), db::adNumeric);
    EXPECT_EQ(params[0].Precision(), 5);
    EXPECT_EQ(params[1].Name(), "@ARTICOLO_ORIG");
    EXPECT_EQ(params[1].Size(), 25);
    EXPECT_EQ(params[3].Type(), db::adVarWChar);
    EXPECT_EQ(params[3].Size(), 72);
    EXPECT_EQ(params[4].Size(), 1672);
    EXPECT_EQ(params[28].Name(), "@STATO");
    for (long i = 0; i < params.Count(); ++i) EXPECT_EQ(params[i].Direction(), db::adParamInput);
    EXPECT_EQ(engine->Command()->CommandType(), db::adCmdStoredProc);
    EXPECT_EQ(engine->Command()->CommandText(), "SPMG_DUPLICAART");
}

TEST_F(EngineSession, AllSwitchesOnClearTheirFlagsAndTheDescriptionFlag) {
    EXPECT_EQ(engine->DuplicazioneAnagraficaBase(db::Variant("A1"), db::Variant("B1")), kvMethodOK);
    ASSERT_EQ(captured.calls, 1);
    for (const auto& kf : kKeyFlags) EXPECT_EQ(FlagSent(kf[1]), 0) << kf[1];
    for (const char* f : kNeverCleared) EXPECT_EQ(FlagSent(f), 1) << f;
    EXPECT_EQ(FlagSent("@NODUP_MG87_ARTDESC"), 0);
    EXPECT_EQ(captured.values["@ARTICOLO_ORIG"].CStr(), "A1");
    EXPECT_EQ(captured.values["@ARTICOLO_NEW"].CStr(), "B1");
    EXPECT_EQ(FlagSent("@DITTA"), 1);
    EXPECT_EQ(engine->Stato(), 0);
}

TEST_F(EngineSession, AllSwitchesOffClearOnlyTheDescriptionFlag) {
    for (const auto& kf : kKeyFlags) SetSwitch(*engine, kf[0], false);
    engine->DuplicazioneAnagraficaBase(db::Variant("A1"), db::Variant("B1"));
    for (const auto& kf : kKeyFlags) EXPECT_EQ(FlagSent(kf[1]), 1) << kf[1];
    EXPECT_EQ(FlagSent("@NODUP_MG87_ARTDESC"), 0);
}

TEST_F(EngineSession, DescriptionOfFullSizeEndingInQuoteLosesTheQuote) {
    const std::string d71(71, 'x');
    engine->DescrizioneArticoloDaGenerare(db::Variant(d71 + "'"));
    EXPECT_EQ(engine->Command()->GetParameters()["@DESCRIZIONE_NEW"].Value().CStr(), d71);

    engine->DescrizioneArticoloDaGenerare(db::Variant(std::string(70, 'x') + "'"));
    EXPECT_EQ(engine->Command()->GetParameters()["@DESCRIZIONE_NEW"].Value().CStr(), std::string(70, 'x') + "'");

    engine->DescrizioneArticoloDaGenerare(db::Variant(d71 + "y"));
    EXPECT_EQ(engine->Command()->GetParameters()["@DESCRIZIONE_NEW"].Value().CStr(), d71 + "y");

    // Characters are counted, not bytes.
    const std::string accented = std::string(70, 'x') + "\xC3\xA0'";
    engine->DescrizioneArticoloDaGenerare(db::Variant(accented));
    EXPECT_EQ(engine->Command()->GetParameters()["@DESCRIZIONE_NEW"].Value().CStr(), std::string(70, 'x') + "\xC3\xA0");

    const std::string e1671(1671, 'e');
    engine->DescrizioneEstesaArticoloDaGenerare(db::Variant(e1671 + "'"));
    EXPECT_EQ(engine->Command()->GetParameters()["@DESCRIZIONEEST_NEW"].Value().CStr(), e1671);
}

TEST_F(EngineSession, MissingSwitchFailsWithBothRoutineNamesInTheSource) {
    engine->CollDatiDaDuplicare()->Remove("KEY13");
    try {
        engine->DuplicazioneAnagraficaBase(db::Variant("A1"), db::Variant("B1"));
        FAIL() << "expected an error";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Source().rfind("DuplicazioneAnagraficaBase\r\nDuplicaBatchByCommand\r\n", 0), 0u) << e.Source();
    }
    EXPECT_EQ(captured.calls, 0);
}

TEST_F(EngineSession, ProcedureErrorKeepsNumberAndDescription) {
    db::RegisterProcedure("SPMG_DUPLICAART", [](db::Connection&, db::Parameters&) {
        throw db::Error(2627, "Violation of PRIMARY KEY", "server");
    });
    try {
        engine->DuplicazioneAnagraficaBase(db::Variant("A1"), db::Variant("B1"));
        FAIL() << "expected an error";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 2627);
        EXPECT_EQ(e.Description(), "Violation of PRIMARY KEY");
        EXPECT_EQ(e.Source(), "DuplicazioneAnagraficaBase\r\nDuplicaBatchByCommand\r\nserver");
    }
}

TEST(EngineWithoutConnection, DoNothingOperationsSucceed) {
    host::InstallShellHost();
    CLSFA_DUPLICA e;
    const db::Variant a("A"), b("B");
    EXPECT_EQ(e.DuplicazioneDescrizioni(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneConfezioni(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneDatiIntra(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneScorte(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneAlternativi(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneSostitutivi(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneConcorrenti(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazionePackingList(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneUbicazioniFisse(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneListiniVendita(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneListiniAcquisto(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneUltimiPrezzi(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneApplicazioni(a, b), kvMethodOK);
    EXPECT_EQ(e.DuplicazioneDatiPersonalizzati(a, b), kvMethodOK);
}

TEST_F(EngineSession, ConnectionSetAfterCreationReachesTheCommand) {
    auto other = db::Connection::Create();
    other->Open("sqlite::memory:");
    engine->Connessione(other);
    EXPECT_EQ(engine->Command()->ActiveConnection(), other);
}

}  // namespace
