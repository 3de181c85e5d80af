// The engine session: group switches, what the stored procedure is given, error sources.
#include <map>

#include "EngineFixture.h"
#include "db/Command.h"
#include "db/ProcedureRegistry.h"

using engine::kvMethodOK;

namespace {

// Stands in for SPMG_DUPLICAART: keeps what it was given.
std::map<std::string, db::Variant> captured;
int calls = 0;

class EngineSession : public testsupport::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        captured.clear();
        calls = 0;
        db::RegisterProcedure("SPMG_DUPLICAART", [](db::Connection&, db::Parameters& p) {
            ++calls;
            for (const auto& param : p.All()) captured[param->Name()] = param->Value();
        });
        engine = NewEngine();
    }
    void TearDown() override { db::RegisterProcedure("SPMG_DUPLICAART", nullptr); }

    void Switch(const std::string& key, bool value) {
        engine->CollDatiDaDuplicare()->Remove(key);
        engine->CollDatiDaDuplicare()->Add(db::Variant(value), key);
    }
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
// Groups the engine copies itself: the procedure is always told to leave them.
const char* kNeverCleared[] = {"@NODUP_MG69_UBICAZART",  "@NODUP_MG65_BARCODE",   "@NODUP_MG6C_ANAGRARTAGE",
                               "@NODUP_MG6D_FLGTABARTVAR", "@NODUP_MG4N_ARTTRALIM", "@NODUP_SC06_ARTSCORTE",
                               "@NODUP_PK07_ARTIMB",     "@NODUP_PD18_ARTPROD"};

// Initialize switches every group on but "KEY26"; each switch clears its own flag, the description's always is;
// a second Initialize starts afresh. Errors carry both routine names in front of the source.
TEST_F(EngineSession, SwitchesClearTheirOwnFlagsAndErrorsCarryBothRoutineNamesInFrontOfTheSource) {
    auto coll = engine->CollDatiDaDuplicare();
    ASSERT_EQ(coll->Count(), 15);
    for (const auto& kf : kKeyFlags) EXPECT_TRUE(coll->Item(kf[0]).CBool()) << kf[0];
    EXPECT_FALSE(coll->Item("KEY26").CBool());
    // The parameters' names against the procedure's: tests/tsql/scripts_test.cpp.
    for (const bool on : {false, true}) {  // a flag once cleared stays so for the session
        SCOPED_TRACE(on);
        for (const auto& kf : kKeyFlags) Switch(kf[0], on);
        EXPECT_EQ(engine->DuplicazioneAnagraficaBase(db::Variant("A1"), db::Variant("B1")), kvMethodOK);
        for (const auto& kf : kKeyFlags) EXPECT_EQ(captured.at(kf[1]).CLng(), on ? 0 : 1) << kf[1];
        for (const char* f : kNeverCleared) EXPECT_EQ(captured.at(f).CLng(), 1) << f;
        EXPECT_EQ(captured.at("@NODUP_MG87_ARTDESC").CLng(), 0);
    }
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(captured["@ARTICOLO_ORIG"].CStr(), "A1");
    EXPECT_EQ(captured["@ARTICOLO_NEW"].CStr(), "B1");
    EXPECT_EQ(captured["@DITTA"].CLng(), 1);

    Switch("KEY1", false);
    engine->Initialize();
    EXPECT_NE(engine->CollDatiDaDuplicare(), coll);
    EXPECT_TRUE(engine->CollDatiDaDuplicare()->Item("KEY1").CBool());

    const std::string routines = "DuplicazioneAnagraficaBase\r\nDuplicaBatchByCommand";
    engine->CollDatiDaDuplicare()->Remove("KEY13");
    EXPECT_EQ(ErrorOf([&] { engine->DuplicazioneAnagraficaBase(src, dst); }, routines).Number(), 5);
    EXPECT_EQ(calls, 2);  // the procedure not called

    engine->Initialize();
    db::RegisterProcedure("SPMG_DUPLICAART", [](db::Connection&, db::Parameters&) {
        throw db::Error(2627, "Violation of PRIMARY KEY", "server");
    });
    const auto e = ErrorOf([&] { engine->DuplicazioneAnagraficaBase(src, dst); }, routines);
    EXPECT_EQ(e.Number(), 2627);
    EXPECT_EQ(e.Description(), "Violation of PRIMARY KEY");
    EXPECT_EQ(e.Source(), routines + "\r\nserver");
}

}  // namespace
