// The batch row copy and the operations built on it: rows written, rules per field, events, failures.
#include <algorithm>

#include "EngineFixture.h"
#include "SqliteStatementHook.h"
#include "db/CommonSql.h"
#include "db/FaultInjector.h"
#include "db/sqlite/BoundLiterals.h"

using engine::kvMethodOK;
using testsupport::Names;

namespace {

class RowCopyTest : public testsupport::EngineFixture {};

// Events are raised for the tables the source has rows in, and only for them; a failure writes nothing of the
// table and names the operation. The last progressive of the sales prices is zero while there is none (the
// maximum is Null).
TEST_F(RowCopyTest, OnlyTheTablesWithSourceRowsRaiseEventsAndAFailureWritesNothingOfTheTable) {
    CreateNewArticle();
    std::int16_t sales = 0;
    EXPECT_EQ(engine->Pfun_GetProgressivo(sales, src), 0);
    using Op = engine::EnumMethodResult (engine::CLSFA_DUPLICA::*)(const db::Variant&, const db::Variant&);
    for (Op op : {&engine::CLSFA_DUPLICA::DuplicazioneUbicazioniDinamiche,
                  &engine::CLSFA_DUPLICA::DuplicazioneAgentiPerArticolo, &engine::CLSFA_DUPLICA::DuplicazioneDatiLotto,
                  &engine::CLSFA_DUPLICA::DuplicazioneDatiTracciabilitaProdotti,
                  &engine::CLSFA_DUPLICA::DuplicazioneParamGestScorte,
                  &engine::CLSFA_DUPLICA::DuplicazioneDescrizioniInLingua,
                  &engine::CLSFA_DUPLICA::DuplicazioneArticoliClienti,
                  &engine::CLSFA_DUPLICA::DuplicazioneAttributiFashion})
        EXPECT_EQ(((*engine).*op)(src, dst), kvMethodOK);
    EXPECT_TRUE(recorder->names.empty());

    Exec("INSERT INTO MG4P_LOTTRALIM (MG4P_DITTA_CG18, MG4P_CODART_MG66, MG4P_CODLOTTO, MG4P_CODTRACC) "
         "VALUES (1, 'SRC', 'L1', 'T1')");
    ASSERT_EQ(engine->DuplicazioneDatiTracciabilitaProdotti(src, dst), kvMethodOK);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG4P", "AfterUpdateMG4P"}));

    Exec("INSERT INTO MG4N_ARTTRALIM (MG4N_DITTA_CG18, MG4N_CODART_MG66, MG4N_CODTRACC) VALUES (1, 'SRC', 'T1')");
    Exec("DELETE FROM MG4P_LOTTRALIM");
    recorder->names.clear();
    ASSERT_EQ(engine->DuplicazioneDatiTracciabilitaProdotti(src, dst), kvMethodOK);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG4N", "AfterUpdateMG4N"}));

    Exec("INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE) "
         "VALUES (1, 'SRC', 'MAG1', 'A'), (1, 'SRC', 'MAG1', 'B')");
    conn->Faults().FailMatching("INSERT INTO MG69_UBICAZART");
    recorder->names.clear();
    ErrorOf([&] { engine->DuplicazioneUbicazioniDinamiche(src, dst); }, "DuplicazioneUbicazioniDinamiche");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_CODART_MG66 = 'NEW'"), 0);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG69"}));

    Exec("INSERT INTO LI11_ULTPRACQVEN (LI11_DITTA_CG18, LI11_CODART_MG66, LI11_FLGVENACQ, LI11_PROG) "
         "VALUES (1, 'SRC', 0, 3), (1, 'SRC', 0, 7), (1, 'SRC', 1, 9)");
    EXPECT_EQ(engine->Pfun_GetProgressivo(sales, src), 7);
}

// A caller that vouches nothing writes the source's rows: the tables the run found without source rows are
// asked about in one statement per article and their copies skipped while the source has none; a table the
// source has rows in again is copied. Without the caller's word every copy runs.
// A run composes each copy in one statement once. A table that gains a column during the run gets it copied;
// one that gives a default to a column copied unless Null gets the default where the source has Null.
TEST_F(RowCopyTest, ARunAsksAboutTablesFoundEmptyTogetherAndComposesACopyAgainWhenItsTableChanges) {
    auto run = std::make_shared<engine::RunConstants>();
    auto statements = [&](const std::string& code, bool vouched) {
        auto e = NewEngine();
        e->Constants(run);
        e->SourceRowsUnchanged(vouched);
        EXPECT_EQ(e->DuplicazioneAnagraficaBase(src, db::Variant(code)), kvMethodOK);
        return StatementsOf(
            [&] { ASSERT_EQ(e->DuplicazioneDatiTracciabilitaProdotti(src, db::Variant(code)), kvMethodOK); });
    };
    EXPECT_EQ(statements("A1", true), 2);  // both copies run and find nothing
    EXPECT_EQ(statements("A2", true), 1);  // the question alone
    Exec("INSERT INTO MG4P_LOTTRALIM (MG4P_DITTA_CG18, MG4P_CODART_MG66, MG4P_CODLOTTO, MG4P_CODTRACC) "
         "VALUES (1, 'SRC', 'L1', 'T1')");
    EXPECT_EQ(statements("A3", true), 2);  // the question and the copy of the lots
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG4P_LOTTRALIM WHERE MG4P_CODART_MG66 = 'A3'"), 1);
    Exec("INSERT INTO MG4N_ARTTRALIM (MG4N_DITTA_CG18, MG4N_CODART_MG66, MG4N_CODTRACC) VALUES (1, 'SRC', 'T1')");
    EXPECT_EQ(statements("A4", false), 2);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG4N_ARTTRALIM WHERE MG4N_CODART_MG66 = 'A4'"), 1);

    Exec("INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE) "
         "VALUES (1, 'SRC', 'MAG1', 'A')");
    Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_LINGUA_MG52, MG87_DESCART) "
         "VALUES (1, 'SRC', 'EN', 'Shirt')");
    auto copy = [&](const std::string& code) {
        auto e = NewEngine();
        e->Constants(run);
        ASSERT_EQ(e->DuplicazioneAnagraficaBase(src, db::Variant(code)), kvMethodOK);
        ASSERT_EQ(e->DuplicazioneUbicazioniDinamiche(src, db::Variant(code)), kvMethodOK);
        ASSERT_EQ(e->DuplicazioneDescrizioniInLingua(src, db::Variant(code)), kvMethodOK);
    };
    copy("B1");
    copy("B2");
    conn->Execute("ALTER TABLE MG69_UBICAZART ADD MG69_SCAFFALE VARCHAR(10)", nullptr,
                  db::kCommonSqlText | db::adExecuteNoRecords);
    Exec("UPDATE MG69_UBICAZART SET MG69_SCAFFALE = 'S4' WHERE MG69_CODART_MG66 = 'SRC'");
    // A default given in place, as SQLite allows for defaults: the table keeps its columns.
    const long version = conn->GetDriver().Run("PRAGMA schema_version").rows.front().Unpack().front().CLng();
    conn->GetDriver().RunScript(
        "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = replace(sql, 'MG87_DESCBREVE             "
        "NVARCHAR(30)', 'MG87_DESCBREVE NVARCHAR(30) DEFAULT ''-''') WHERE name = 'MG87_ARTDESC'; PRAGMA "
        "schema_version = " + std::to_string(version + 1) + "; PRAGMA writable_schema = OFF;");
    copy("B3");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_CODART_MG66 IN ('B1', 'B2', 'B3')"), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_CODART_MG66 = 'B3' AND MG69_SCAFFALE = 'S4'"), 1);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_CODART_MG66, MG87_DESCART, COALESCE(MG87_DESCBREVE, '<null>') "
                                       "FROM MG87_ARTDESC WHERE MG87_LINGUA_MG52 = 'EN' AND MG87_CODART_MG66 <> "
                                       "'SRC' ORDER BY 1"),
              (Names{"B1|Shirt|<null>", "B2|Shirt|<null>", "B3|Shirt|-"}));
}

// A subscriber of some events only: the engine copies every other table in one statement.
struct OnlyListener : testsupport::EventRecorder {
    explicit OnlyListener(std::vector<engine::EngineEvent> heard) : events(std::move(heard)) {}
    bool Handles(engine::EngineEvent e) const override { return std::count(events.begin(), events.end(), e) > 0; }
    std::vector<engine::EngineEvent> events;
};

// The rows of `table` written for `code`, every column but the code, the generated identifiers and the stamp
// of the moment a row was written.
std::vector<std::string> RowsOf(db::Connection& c, const std::string& table, const std::string& code) {
    const std::string prefix = table.substr(0, 4);
    auto rs = c.Execute("SELECT * FROM " + table + " WHERE " + prefix + "_CODART_MG66 = '" + code + "' ORDER BY 3, 4");
    std::vector<std::string> rows;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        std::string row;
        for (long i = 0; i < rs->GetFields().Count(); ++i) {
            const std::string name = rs->GetFields()[i].Name();
            if (name == prefix + "_CODART_MG66" || name.ends_with("_GUID") || name.ends_with("_LASTCHANGE")) continue;
            const db::Variant v = rs->GetFields()[i].Value();
            row += name + "=" + (v.IsNull() ? "<null>" : v.Text()) + ";";
        }
        rows.push_back(row);
    }
    return rows;
}

// Locations start without stock, stock parameters take the table's defaults, lots get identifiers of their
// own, and every other column is the source's; without listeners each table is written in one statement.
TEST_F(RowCopyTest, WithoutListenersEachTableIsWrittenInOneStatementWithTheSameRows) {
    Exec("INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE, "
         "MG69_QTA1UBICEFF, MG69_QTA1ATTESACAR, MG69_QTA1ATTESASCA, MG69_QTA2UBICEFF, MG69_QTA2ATTESACAR, "
         "MG69_QTA2ATTESASCA, MG69_COLLIUBICEFF, MG69_COLLIATTESACAR, MG69_COLLIATTESASCA, MG69_QTAMAXUBIC, MG69_NOTE) "
         "VALUES (1, 'SRC', 'MAG1', 'A-01-02', 10, 11, 12, 13, 14, 15, 16, 17, 18, 500, 'top shelf'), "
         "(1, 'SRC', 'MAG1', 'B', 3, 3, 3, 3, 3, 3, 3, 3, 3, 20, NULL)");
    Exec("INSERT INTO SC06_ARTSCORTE (SC06_DITTA_CG18, SC06_CODART_MG66, SC06_FLGGESTSCORTE, SC06_SCORMIN, "
         "SC06_CONSPEROSS, SC06_SCORMAX, SC06_LEADTIME, SC06_DAPERVIS, SC06_APERVIS, SC06_NOTE) "
         "VALUES (1, 'SRC', 1, 50, 3, 900, 21, 4, 9, 'reorder weekly')");
    Exec("INSERT INTO MG4G_ANAGRLOTTI (MG4G_DITTA_CG18, MG4G_CODART_MG66, MG4G_CODLOTTO, MG4G_GUID, MG4G_DTPRODUZIONE, "
         "MG4G_DTSCADENZA) VALUES (1, 'SRC', 'L-2026-01', 'LOT-GUID', '2025-06-30 12:34:56.789', "
         "'9999-12-31 23:59:59.999')");
    Exec("INSERT INTO MG6C_ANAGRARTAGE (MG6C_DITTA_CG18, MG6C_CODART_MG66, MG6C_AGENTE, MG6C_PERCPROVV, MG6C_DTINIZIO) "
         "VALUES (1, 'SRC', 7, 3.5, '2024-01-05 10:20:30')");
    // Statements of the two-row location copy: the sign of which way a table went.
    std::vector<long> locationStatements;
    auto copyAll = [&](engine::CLSFA_DUPLICA& e, const db::Variant& code) {
        locationStatements.push_back(
            StatementsOf([&] { ASSERT_EQ(e.DuplicazioneUbicazioniDinamiche(src, code), kvMethodOK); }));
        ASSERT_EQ(e.DuplicazioneParamGestScorte(src, code), kvMethodOK);
        ASSERT_EQ(e.DuplicazioneDatiLotto(src, code), kvMethodOK);
        ASSERT_EQ(e.DuplicazioneAgentiPerArticolo(src, code), kvMethodOK);
    };
    CreateNewArticle();  // the recorder hears every event: row by row
    copyAll(*engine, dst);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG69", "AfterUpdateMG69", "BeforeUpdateSC06", "AfterUpdateSC06",
                                      "BeforeUpdateMG6G", "AfterUpdateMG6G", "BeforeUpdateMG6C", "AfterUpdateMG6C"}));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG69_UBICAZIONE, MG69_QTA1UBICEFF, MG69_QTA1ATTESACAR, "
                                       "MG69_QTA1ATTESASCA, MG69_QTA2UBICEFF, MG69_QTA2ATTESACAR, MG69_QTA2ATTESASCA, "
                                       "MG69_COLLIUBICEFF, MG69_COLLIATTESACAR, MG69_COLLIATTESASCA, MG69_QTAMAXUBIC, "
                                       "MG69_NOTE FROM MG69_UBICAZART WHERE MG69_CODART_MG66 = 'NEW' ORDER BY 1"),
              (Names{"A-01-02|0|0|0|0|0|0|0|0|0|500|top shelf", "B|0|0|0|0|0|0|0|0|0|20|<null>"}));
    // Minimum, maximum and lead time start at zero; the periods are the table's defaults, not the source's.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT SC06_SCORMIN, SC06_SCORMAX, SC06_LEADTIME, SC06_CONSPEROSS, "
                                       "SC06_APERVIS, SC06_FLGGESTSCORTE, SC06_NOTE FROM SC06_ARTSCORTE WHERE "
                                       "SC06_CODART_MG66 = 'NEW'"),
              (Names{"0|0|0|12|12|1|reorder weekly"}));

    copyAll(*QuietEngine(), db::Variant("SET"));
    EXPECT_LT(locationStatements.back(), locationStatements.front());

    for (const std::string table : {"MG69_UBICAZART", "SC06_ARTSCORTE", "MG4G_ANAGRLOTTI", "MG6C_ANAGRARTAGE"}) {
        if (table != "MG69_UBICAZART" && table != "SC06_ARTSCORTE") {  // carried over as they are
            EXPECT_EQ(RowsOf(*conn, table, "NEW"), RowsOf(*conn, table, "SRC")) << table;
        }
        EXPECT_EQ(RowsOf(*conn, table, "SET"), RowsOf(*conn, table, "NEW")) << table;
    }
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG4G_ANAGRLOTTI WHERE MG4G_GUID = 'LOT-GUID'"), 1);
    // Dates are written back as they were stored, to the millisecond, and never past the year 9999.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT CAST(MG4G_DTPRODUZIONE AS VARCHAR(30)), CAST(MG4G_DTSCADENZA AS "
                                       "VARCHAR(30)), CAST(MG6C_DTINIZIO AS VARCHAR(30)) FROM MG4G_ANAGRLOTTI, "
                                       "MG6C_ANAGRARTAGE WHERE MG4G_CODART_MG66 = MG6C_CODART_MG66"),
              (Names(3, "2025-06-30 12:34:56.789|9999-12-31 23:59:59.999|2024-01-05 10:20:30")));
}

// Descriptions in other languages: identifiers of their own, and a Null copied as a Null wherever the table's
// default would give one. Fashion data: washing records, the article's record, the attributes of the standard
// description alone (entity 0, under the new description's identifier) and the component types, written without
// events. Without listeners in one statement per table, with the same rows; a subscriber of the After events of
// the article's record and the attributes alone gets the rows written read back.
TEST_F(RowCopyTest, DescriptionsInOtherLanguagesAndFashionDataWithNewIdentifiersAndWithoutListenersInOneStatement) {
    Exec("UPDATE MG87_ARTDESC SET MG87_GUID = 'STD-GUID' WHERE MG87_CODART_MG66 = 'SRC'");
    Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_LINGUA_MG52, MG87_DESCART, MG87_NOTEART, "
         "MG87_DESCBREVE, MG87_GUID) VALUES (1, 'SRC', 'EN', 'Shirt', NULL, NULL, 'G-EN'), "
         "(1, 'SRC', 'DE', 'Hemd', 'Note', 'kurz', 'G-DE')");
    Exec("INSERT INTO FA13_ATTRIBUTI (FA13_GUID, FA13_ENTITA_FA11, FA13_DITTA_CG18, FA13_LINEA_FA05, FA13_TEMA) VALUES "
         "('STD-GUID', 0, 1, 'UOMO', 'Riviera'), ('STD-GUID', 1, 1, 'UOMO', 'other entity'), "
         "('G-EN', 0, 1, 'UOMO', 'english')");
    Exec("INSERT INTO FA10_ARTLAVAGGI (FA10_DITTA_CG18, FA10_CODART_MG66, FA10_OPZIONE_MG5E, FA10_CODLAVAGGIO, "
         "FA10_SEQ) VALUES (1, 'SRC', '', 'W30', 1), (1, 'SRC', '', 'NOIRON', 2)");
    Exec("INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66, FA12_OPZIONE_MG5E, FA12_TIPO_FA03, "
         "FA12_COMPOSIZIONE) VALUES (1, 'SRC', '', 'PF', '100% cotone')");
    Exec("INSERT INTO FA37_ASSARTITIPOCOMP (FA37_DITTA_CG18, FA37_CODART_MG66, FA37_OPZIONE_MG5E, FA37_TIPOCOMP) "
         "VALUES (1, 'SRC', '', 'TESS')");
    CreateNewArticle();  // the recorder hears every event: row by row
    ASSERT_EQ(engine->DuplicazioneDescrizioniInLingua(src, dst), kvMethodOK);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG87DescrInLingua", "AfterUpdateMG87DescrInLingua"}));
    EXPECT_EQ(recorder->rows.front(), 2);
    EXPECT_EQ(engine->Stato(), 0);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_LINGUA_MG52, MG87_DESCART, MG87_NOTEART, MG87_DESCBREVE FROM "
                                       "MG87_ARTDESC WHERE MG87_CODART_MG66 = 'NEW' AND "
                                       "MG87_LINGUA_MG52 IN ('DE', 'EN') ORDER BY 1"),
              (Names{"DE|Hemd|Note|kurz", "EN|Shirt|<null>|<null>"}));
    recorder->names.clear();
    const long rowByRow = StatementsOf([&] { ASSERT_EQ(engine->DuplicazioneAttributiFashion(src, dst), kvMethodOK); });
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateFA10", "AfterUpdateFA10", "BeforeUpdateFA12", "AfterUpdateFA12",
                                      "BeforeUpdateFA13", "AfterUpdateFA13"}));

    auto after = std::make_shared<OnlyListener>(
        std::vector{engine::EngineEvent::AfterUpdateFA12, engine::EngineEvent::AfterUpdateFA13});
    const db::Variant set("SET");
    auto quiet = QuietEngine(after);
    EXPECT_EQ(StatementsOf([&] { ASSERT_EQ(quiet->DuplicazioneDescrizioniInLingua(src, set), kvMethodOK); }), 1);
    EXPECT_LT(StatementsOf([&] { ASSERT_EQ(quiet->DuplicazioneAttributiFashion(src, set), kvMethodOK); }), rowByRow);

    EXPECT_EQ(RowsOf(*conn, "MG87_ARTDESC", "SET"), RowsOf(*conn, "MG87_ARTDESC", "NEW"));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_GUID IN ('G-EN', 'G-DE')"), 2);  // the source's
    auto attributes = [&](const std::string& code) {
        return testsupport::Rows(*conn, "SELECT FA13_ENTITA_FA11, FA13_DITTA_CG18, FA13_LINEA_FA05, FA13_TEMA FROM "
                                        "FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC ON MG87_GUID = FA13_GUID WHERE "
                                        "MG87_CODART_MG66 = '" + code + "' AND MG87_LINGUA_MG52 = ''");
    };
    EXPECT_EQ(attributes("SET"), (std::vector<std::string>{"0|1|UOMO|Riviera"}));
    EXPECT_EQ(attributes("SET"), attributes("NEW"));
    for (const std::string table : {"FA10_ARTLAVAGGI", "FA12_ARTICOLI", "FA37_ASSARTITIPOCOMP"}) {
        EXPECT_EQ(RowsOf(*conn, table, "NEW"), RowsOf(*conn, table, "SRC")) << table;
        EXPECT_EQ(RowsOf(*conn, table, "SET"), RowsOf(*conn, table, "NEW")) << table;
    }
    // The After handlers alone: their events, with the rows written read back.
    EXPECT_EQ(after->names, (Names{"AfterUpdateFA12", "AfterUpdateFA13"}));
    EXPECT_EQ(after->rows, (std::vector<long>{1, 1}));
}

// The statement as SQLite prepares a text it gets as written: only its values turned into parameters.
std::string AsPrepared(const std::string& sql) {
    const auto bound = db::sqlite::BindLiterals(sql);
    return bound.Rewritten() ? bound.sql : sql;
}

// Customer and supplier codes: one event pair per row, the code the new article already has for a customer
// kept; without listeners in one statement, with the same rows (own code without its trailing blanks). Row by
// row, the engine's own reads are in the SQL both databases run: SQLite gets them untranslated (the dialect
// adapter would have rewritten their blanks); and a handler's change to a pending row (agents) is what is written.
TEST_F(RowCopyTest, CustomerCodesOneEventPairPerRowExistingOnesLeftOutAndWithoutListenersInOneStatement) {
    Exec("INSERT INTO MG73_ARTCLIFOR (MG73_DITTA_CG18, MG73_ARTCLIFOR, MG73_TIPOCF_CG44, MG73_CLIFOR_CG44, "
         "MG73_CODART_MG66, MG73_DESCART, MG73_NOTE) VALUES (1, 'C-A  ', 0, 100, 'SRC', 'for 100', NULL), "
         "(1, 'C-B', 0, 200, 'SRC', NULL, NULL), (1, 'C-C', 0, 300, 'SRC', NULL, 'n'), "
         "(1, 'S-1', 1, 900, 'SRC', 'supplier', NULL)");
    Exec("INSERT INTO MG6C_ANAGRARTAGE (MG6C_DITTA_CG18, MG6C_CODART_MG66, MG6C_AGENTE, MG6C_PERCPROVV) "
         "VALUES (1, 'SRC', 7, 3.5), (1, 'SRC', 8, 4)");
    CreateNewArticle();  // the recorder hears every event: row by row
    Exec("INSERT INTO MG73_ARTCLIFOR (MG73_DITTA_CG18, MG73_ARTCLIFOR, MG73_TIPOCF_CG44, MG73_CLIFOR_CG44, "
         "MG73_CODART_MG66) VALUES (1, 'OWN', 0, 300, 'NEW')");
    recorder->onEvent = [](engine::EngineEvent e, db::RecordsetPtr& target) {
        if (e != engine::EngineEvent::BeforeUpdateMG6C) return;
        for (target->MoveFirst(); !target->EOF(); target->MoveNext())
            (*target)["MG6C_PERCPROVV"].Value(db::Variant(9.25));
    };
    std::vector<std::string> prepared;
    testsupport::SqliteStatementHook hook(*conn, [&](sqlite3_stmt*, const char* text) { prepared.emplace_back(text); });
    auto sent = [&](const std::string& sql) {
        return std::find(prepared.begin(), prepared.end(), AsPrepared(sql)) != prepared.end();
    };
    ASSERT_EQ(engine->DuplicazioneAgentiPerArticolo(src, dst), kvMethodOK);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6C_ANAGRARTAGE WHERE MG6C_CODART_MG66 = 'NEW' AND MG6C_PERCPROVV = 9.25"),
              2);
    EXPECT_TRUE(sent(engine->StatementText())) << engine->StatementText();
    EXPECT_TRUE(sent("SELECT * FROM MG6C_ANAGRARTAGE WHERE 0=1"));
    ASSERT_EQ(engine->DuplicazioneArticoliClienti(src, dst), kvMethodOK);
    EXPECT_TRUE(sent(engine->StatementText())) << engine->StatementText();
    EXPECT_TRUE(sent("SELECT * FROM MG73_ARTCLIFOR WHERE 0=1"));
    ASSERT_EQ(engine->DuplicazioneArticoliFornitori(src, dst), kvMethodOK);
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6C", "AfterUpdateMG6C", "BeforeUpdateMG73CLIENTI",
                                      "AfterUpdateMG73CLIENTI", "BeforeUpdateMG73CLIENTI", "AfterUpdateMG73CLIENTI",
                                      "BeforeUpdateMG73FORNITORI", "AfterUpdateMG73FORNITORI"}));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG73_CLIFOR_CG44, MG73_ARTCLIFOR, MG73_DESCART FROM MG73_ARTCLIFOR "
                                       "WHERE MG73_CODART_MG66 = 'NEW' ORDER BY 1"),
              (Names{"100|C-A|for 100", "200|C-B|<null>", "300|OWN|<null>", "900|S-1|supplier"}));

    const db::Variant set("SET");
    auto quiet = QuietEngine();
    Exec("INSERT INTO MG73_ARTCLIFOR (MG73_DITTA_CG18, MG73_ARTCLIFOR, MG73_TIPOCF_CG44, MG73_CLIFOR_CG44, "
         "MG73_CODART_MG66) VALUES (1, 'OWN', 0, 300, 'SET')");
    EXPECT_EQ(StatementsOf([&] { ASSERT_EQ(quiet->DuplicazioneArticoliClienti(src, set), kvMethodOK); }), 1);
    ASSERT_EQ(quiet->DuplicazioneArticoliFornitori(src, set), kvMethodOK);
    EXPECT_EQ(RowsOf(*conn, "MG73_ARTCLIFOR", "SET"), RowsOf(*conn, "MG73_ARTCLIFOR", "NEW"));
}

}  // namespace
