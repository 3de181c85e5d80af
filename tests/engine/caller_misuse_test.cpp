// A calling program that uses the engine wrongly gets an error it can report, never a crash, and the engine
// stays usable: operations without a connection, handlers that empty the target reference or call the engine.
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "EngineFixture.h"
#include "ProgramDouble.h"
#include "db/AdoErrors.h"

using engine::CLSFA_DUPLICA;
using engine::EngineEvent;
using engine::kvMethodOK;
using testsupport::Names;

namespace {

class CallerMisuseTest : public testsupport::EngineFixture {
protected:
    // The source's two agents, one lot and one location.
    void SourceRows() {
        Exec("INSERT INTO MG6C_ANAGRARTAGE (MG6C_DITTA_CG18, MG6C_CODART_MG66, MG6C_AGENTE) "
             "VALUES (1, 'SRC', 7), (1, 'SRC', 8)");
        Exec("INSERT INTO MG4G_ANAGRLOTTI (MG4G_DITTA_CG18, MG4G_CODART_MG66, MG4G_CODLOTTO) VALUES (1, 'SRC', 'L1')");
        Exec("INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE) "
             "VALUES (1, 'SRC', 'M1', 'U1')");
    }
    long Agents(const std::string& code) {
        return Count("SELECT COUNT(*) FROM MG6C_ANAGRARTAGE WHERE MG6C_CODART_MG66 = '" + code + "'");
    }
    long Lots(const std::string& code) {
        return Count("SELECT COUNT(*) FROM MG4G_ANAGRLOTTI WHERE MG4G_CODART_MG66 = '" + code + "'");
    }
    long Locations() { return Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_CODART_MG66 = 'NEW'"); }
};

// Every operation that reads the database raises the data layer's error for an unusable connection under its own
// name; the last progressive, which has no trap, raises it unchanged.
TEST_F(CallerMisuseTest, WithoutAConnectionEveryOperationRaisesTheDataLayersError) {
    auto unconnected = std::make_shared<CLSFA_DUPLICA>();
    unconnected->Initialize();
    unconnected->Ditta(db::Variant(1));
    auto global = std::make_shared<testsupport::GlobalDouble>();
    global->varianteColore = "COL";
    unconnected->ActInterface(testsupport::AsActInterface(testsupport::ProgramWith(global)));
    using Op = engine::EnumMethodResult (CLSFA_DUPLICA::*)(const db::Variant&, const db::Variant&);
    // Each operation with its own name, the one its errors must carry.
#define OPERATION(name) {#name, &CLSFA_DUPLICA::name}
    const std::vector<std::pair<std::string, Op>> operations = {
        OPERATION(DuplicazioneAnagraficaBase),      OPERATION(DuplicazioneDescrizioniInLingua),
        OPERATION(DuplicazioneUbicazioniDinamiche), OPERATION(DuplicazioneBarcode),
        OPERATION(DuplicazioneArticoliClienti),     OPERATION(DuplicazioneArticoliFornitori),
        OPERATION(DuplicazioneAgentiPerArticolo),   OPERATION(DuplicazioneVarianti),
        OPERATION(DuplicazioneVariantiDaModello),   OPERATION(DuplicazioneColoredaTessuto),
        OPERATION(DuplicazioneDatiProduzione),      OPERATION(DuplicazioneDatiLotto),
        OPERATION(DuplicazioneDatiTracciabilitaProdotti), OPERATION(DuplicazioneParamGestScorte),
        OPERATION(DuplicazioneAttributiFashion)};
#undef OPERATION
    const std::string unusable = db::ado::ConnectionError().Description();
    for (const auto& [name, op] : operations) {
        SCOPED_TRACE(name);
        const db::Error e = ErrorOf([&] { ((*unconnected).*op)(src, dst); }, name);
        EXPECT_EQ(e.Number(), 3709);
        EXPECT_EQ(e.Description(), unusable);
    }
    try {
        std::int16_t sales = 0;
        unconnected->Pfun_GetProgressivo(sales, src);
        ADD_FAILURE() << "no error from Pfun_GetProgressivo";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 3709);
        EXPECT_EQ(e.Source(), db::ado::kSource);
    }
}

// A handler that empties the target reference fails the operation with error 91: before the write nothing of the
// table is written; after it the rows are, for the caller's rollback to undo. The next operation copies its rows.
TEST_F(CallerMisuseTest, AnEmptiedTargetIsError91AndTheNextOperationWritesItsRows) {
    SourceRows();
    for (const auto& [event, code, written] :
         {std::tuple{EngineEvent::BeforeUpdateMG6C, "NB", 0L}, std::tuple{EngineEvent::AfterUpdateMG6C, "NA", 2L}}) {
        SCOPED_TRACE(engine::EventName(event));
        auto e = NewEngine();
        ASSERT_EQ(e->DuplicazioneAnagraficaBase(src, db::Variant(code)), kvMethodOK);
        e->Advise(recorder);
        recorder->onEvent = [event = event](EngineEvent raised, db::RecordsetPtr& target) {
            if (raised == event) target = nullptr;
        };
        const db::Error error = ErrorOf([&] { e->DuplicazioneAgentiPerArticolo(src, db::Variant(code)); },
                                        "DuplicazioneAgentiPerArticolo");
        EXPECT_EQ(error.Number(), 91);
        EXPECT_EQ(error.Description(), "Object variable or With block variable not set");
        EXPECT_EQ(Agents(code), written);

        recorder->onEvent = nullptr;
        recorder->names.clear();
        recorder->rows.clear();
        EXPECT_EQ(e->DuplicazioneDatiLotto(src, db::Variant(code)), kvMethodOK);
        EXPECT_EQ(Lots(code), 1);
        EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6G", "AfterUpdateMG6G"}));
        EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1}));
    }
}

// A handler that takes the connection away in the middle of a copy: the copy ends on the connection it began
// with, and only the next operation finds none.
TEST_F(CallerMisuseTest, AConnectionTakenAwayByAHandlerServesTheCopyUnderWayToItsEnd) {
    Exec("INSERT INTO MG4B_PARMAGBARCODE (MG4B_DITTA_CG18, MG4B_INDBARCODE, MG4B_STINDMODALITA, MG4B_STULTNUMDA, "
         "MG4B_STULTNUMA, MG4B_STFLGCHECKDIG, MG4B_LUNGHEZZA, MG4B_PREFISSO) VALUES "
         "(1, 1, 2, 100, 999, 1, 13, '8012345'), (1, 2, 2, 10, 12, 0, 8, '20')");
    Exec("INSERT INTO MG65_BARCODE (MG65_DITTA_CG18, MG65_CODBARCODE, MG65_CODART_MG66, MG65_TIPOBARCODE_MG4B, "
         "MG65_INDTIPOGEST) VALUES (1, '8012345000996', 'SRC', 1, 1), (1, '20000010', 'SRC', 2, 1)");
    CreateNewArticle();
    recorder->onEvent = [&](EngineEvent e, db::RecordsetPtr&) {
        if (e == EngineEvent::AfterUpdateMG65) engine->Connessione(nullptr);
    };
    EXPECT_EQ(engine->DuplicazioneBarcode(src, dst), kvMethodOK);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG65_BARCODE WHERE MG65_CODART_MG66 = 'NEW'"), 2);
    EXPECT_EQ(ErrorOf([&] { engine->DuplicazioneDatiLotto(src, dst); }, "DuplicazioneDatiLotto").Number(),
              db::ado::ConnectionUnusable);
}

// An operation called from a handler is refused with error 5: a handler that traps it lets the outer copy write all
// its rows; one that lets it through fails the outer operation. Either way the engine works again afterwards.
TEST_F(CallerMisuseTest, AnOperationCalledFromAHandlerIsRefusedAndTheOuterCopyIsUnharmed) {
    SourceRows();
    CreateNewArticle();
    std::optional<db::Error> refused;
    recorder->onEvent = [&](EngineEvent raised, db::RecordsetPtr&) {
        if (raised != EngineEvent::BeforeUpdateMG6C) return;
        try {
            engine->DuplicazioneUbicazioniDinamiche(src, dst);
        } catch (const db::Error& e) {
            refused = e;
        }
    };
    ASSERT_EQ(engine->DuplicazioneAgentiPerArticolo(src, dst), kvMethodOK);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Number(), 5);
    EXPECT_EQ(refused->Description(), "Invalid procedure call or argument: an operation of the engine cannot start "
                                      "while one of its events is being handled");
    EXPECT_EQ(refused->Source().rfind("DuplicazioneUbicazioniDinamiche\r\n", 0), 0u) << refused->Source();
    EXPECT_EQ(Agents("NEW"), 2);
    EXPECT_EQ(Locations(), 0);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6C", "AfterUpdateMG6C"}));

    recorder->onEvent = [&](EngineEvent raised, db::RecordsetPtr&) {
        if (raised == EngineEvent::BeforeUpdateMG6G) engine->DuplicazioneUbicazioniDinamiche(src, dst);
    };
    const db::Error passed = ErrorOf([&] { engine->DuplicazioneDatiLotto(src, dst); }, "DuplicazioneDatiLotto");
    EXPECT_EQ(passed.Number(), 5);
    EXPECT_EQ(passed.Source().rfind("DuplicazioneDatiLotto\r\nDuplicazioneUbicazioniDinamiche\r\n", 0), 0u);
    EXPECT_EQ(Lots("NEW"), 0);

    recorder->onEvent = nullptr;
    recorder->names.clear();
    ASSERT_EQ(engine->DuplicazioneUbicazioniDinamiche(src, dst), kvMethodOK);
    EXPECT_EQ(Locations(), 1);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG69", "AfterUpdateMG69"}));
}

}  // namespace
