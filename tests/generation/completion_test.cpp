// Completion of a generated article: the link row's (or the mass parameters') data written over the copy,
// the model and fabric it was made from, and the season history opened while the engine copies it.
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "db/FaultInjector.h"
#include "generation/Completion.h"
#include "generation/FashionData.h"

namespace {

using testsupport::kModello;

const std::string kLana = "AGMODELLO01TS-LANA-GRIGIA";

class Completion : public testsupport::GenerationFixture {
protected:
    // The article of a link row, created with the season handler subscribed, as the links form does.
    bool Generate(const std::string& code, const std::string& fabric, const generation::DatiArticoloGenerato& dati) {
        return Duplicate(code, fabric, std::make_shared<generation::GestoreAfterUpdateFA12>(contesto, dati, kModello));
    }

    std::string Fa12(const std::string& column, const std::string& code) {
        return Text("SELECT " + column + " FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = " + db::SqlText(code));
    }
    std::string Fa13(const std::string& column, const std::string& code) {
        return Text("SELECT " + column + " FROM FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC ON FA13_GUID = MG87_GUID "
                    "WHERE FA13_ENTITA_FA11 = 0 AND MG87_LINGUA_MG52 = '' AND MG87_CODART_MG66 = " + db::SqlText(code));
    }
    std::string Mg87(const std::string& column, const std::string& code) {
        return Text("SELECT " + column + " FROM MG87_ARTDESC WHERE MG87_LINGUA_MG52 = '' AND MG87_CODART_MG66 = " +
                    db::SqlText(code));
    }
    long History(const std::string& code) {
        return Count("SELECT COUNT(*) FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " + db::SqlText(code));
    }
    db::RecordsetPtr Fa12Rows(const std::string& code) {
        auto rs = db::Recordset::Create();
        rs->Open("SELECT * FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = " + db::SqlText(code), conn);
        return rs;
    }
};

TEST_F(Completion, TheLinkRowsDataReplaceWhatWasCopied) {
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", dati));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, kLana, kModello, "TS-LANA-GRIGIA"));

    EXPECT_EQ(Fa12("FA12_MODAGG_COD_MG66", kLana), kModello);
    EXPECT_EQ(Fa12("FA12_TESAGG_COD_MG66", kLana), "TS-LANA-GRIGIA");
    EXPECT_EQ(Fa12("FA12_STAGIONE_MG5T", kLana), "AI2025");  // the model's is PE2025
    EXPECT_EQ(Fa12("FA12_TIPOLOGIA_FA04", kLana), "CAMICIA");
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", kLana), "UOMO-SPORT");
    EXPECT_EQ(Fa13("FA13_MARCHIO_FA06", kLana), "URBAN");
    EXPECT_EQ(Mg87("MG87_DESCART", kLana), "Camicia uomo flanella grigia");
    // The row has no extended description: the engine's stays.
    EXPECT_EQ(Mg87("MG87_DESCARTEST", kLana), "Camicia in lino blu");
    // The model keeps its own.
    EXPECT_EQ(Fa12("FA12_STAGIONE_MG5T", kModello), "PE2025");
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", kModello), "UOMO-CLASSIC");
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
}

TEST_F(Completion, TheSeasonHistoryIsOpenedWithTheCompanysFlags) {
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", dati));
    ASSERT_EQ(History(kLana), 1);
    auto rs = conn->Execute("SELECT * FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " + db::SqlText(kLana));
    rs->MoveFirst();
    EXPECT_EQ((*rs)["FA25_DITTA_CG18"].Value().CLng(), 1);
    EXPECT_EQ((*rs)["FA25_IDSTAGIONE_MG5T"].Value().CLng(), SeasonId("AI2025"));
    // The demo company's parameters: prototyping 0, sample 1, collection 1, reassortment 0.
    EXPECT_EQ((*rs)["FA25_FLGPROTOTIPIA"].Value().CLng(), 0);
    EXPECT_EQ((*rs)["FA25_FLGCAMPIONARIO"].Value().CLng(), 1);
    EXPECT_EQ((*rs)["FA25_FLGCOLLEZIONE"].Value().CLng(), 1);
    EXPECT_EQ((*rs)["FA25_FLGRIASSORTIMENTO"].Value().CLng(), 0);
}

TEST_F(Completion, EmptyRowValuesKeepTheCopyAndTheHistoryTakesTheModelsSeason) {
    generation::RigaAggancio riga;  // all Null, as a row with nothing filled in
    riga.descrizione = db::Variant("");
    const auto dati = Dati(riga);
    ASSERT_TRUE(Generate(testsupport::kNuovo, "TS-LINO-BLU", dati));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, testsupport::kNuovo, kModello, "TS-LINO-BLU"));

    EXPECT_EQ(Fa12("FA12_MODAGG_COD_MG66", testsupport::kNuovo), kModello);
    EXPECT_EQ(Fa12("FA12_TESAGG_COD_MG66", testsupport::kNuovo), "TS-LINO-BLU");
    EXPECT_EQ(Fa12("FA12_STAGIONE_MG5T", testsupport::kNuovo), "PE2025");
    EXPECT_EQ(Fa12("FA12_TIPOLOGIA_FA04", testsupport::kNuovo), "CAMICIA");
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", testsupport::kNuovo), "UOMO-CLASSIC");
    EXPECT_EQ(Mg87("MG87_DESCART", testsupport::kNuovo), "Camicia lino blu");
    EXPECT_EQ(Mg87("MG87_DESCARTEST", testsupport::kNuovo), "Camicia in lino blu");
    EXPECT_EQ(Count("SELECT FA25_IDSTAGIONE_MG5T FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " +
                    db::SqlText(testsupport::kNuovo)),
              SeasonId("PE2025"));
}

TEST_F(Completion, AHistoryThatHoldsTheSeasonGetsNoSecondRow) {
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", dati));
    generation::Pcls_DuplArticolo_AfterUpdateFA12(contesto, dati, kModello, Fa12Rows(kLana));
    EXPECT_EQ(History(kLana), 1);
    // No recordset: nothing to do, nothing reported.
    generation::Pcls_DuplArticolo_AfterUpdateFA12(contesto, dati, kModello, nullptr);
    EXPECT_EQ(History(kLana), 1);
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
}

TEST_F(Completion, NoSeasonAnywhereWritesNoHistory) {
    Exec("UPDATE FA12_ARTICOLI SET FA12_STAGIONE_MG5T = NULL WHERE FA12_CODART_MG66 = 'MODELLO01'");
    generation::RigaAggancio riga;
    ASSERT_TRUE(Generate(testsupport::kNuovo, "TS-LINO-BLU", Dati(riga)));
    EXPECT_EQ(History(testsupport::kNuovo), 0);
}

TEST_F(Completion, TheMassTabTakesTheParametersAndWritesNoFabric) {
    generation::DatiArticoloGenerato dati;
    dati.scheda = entry::Util_Duplmassiva;
    dati.riga = Riga("TS-LANA-GRIGIA");  // shown on the links tab, not the mass tab's business
    dati.massivi = {db::Variant("PE2026"), db::Variant("UOMO-SPORT"), db::Variant("POLO"),
                    db::Variant("MARE-BLU"), db::Variant("Camicia dell'estate"), db::Variant("")};
    ASSERT_TRUE(Generate(testsupport::kNuovo, "TS-LINO-BLU", dati));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, testsupport::kNuovo, kModello, "TS-LINO-BLU"));

    EXPECT_EQ(Fa12("FA12_TESAGG_COD_MG66", testsupport::kNuovo), "");
    EXPECT_EQ(Fa12("FA12_MODAGG_COD_MG66", testsupport::kNuovo), kModello);
    EXPECT_EQ(Fa12("FA12_STAGIONE_MG5T", testsupport::kNuovo), "PE2026");
    EXPECT_EQ(Fa12("FA12_TIPOLOGIA_FA04", testsupport::kNuovo), "POLO");
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", testsupport::kNuovo), "UOMO-SPORT");
    EXPECT_EQ(Fa13("FA13_MARCHIO_FA06", testsupport::kNuovo), "MARE-BLU");
    EXPECT_EQ(Mg87("MG87_DESCART", testsupport::kNuovo), "Camicia dell'estate");  // quote and case as typed
    EXPECT_EQ(Mg87("MG87_DESCARTEST", testsupport::kNuovo), "Camicia in lino blu");
    EXPECT_EQ(Count("SELECT FA25_IDSTAGIONE_MG5T FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " +
                    db::SqlText(testsupport::kNuovo)),
              SeasonId("PE2026"));
}

TEST_F(Completion, ValuesCannotChangeTheShapeOfTheStatements) {
    generation::RigaAggancio riga = Riga("TS-LINO-BLU");
    riga.linea = db::Variant("X', FA13_NOTE = 'hacked");
    riga.descrizione = db::Variant("Camicia' WHERE 1=1 --");
    const auto dati = Dati(riga);
    ASSERT_TRUE(Duplicate(testsupport::kNuovo));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, testsupport::kNuovo, kModello, "TS-LINO-BLU"));
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", testsupport::kNuovo), "X', FA13_NOTE = 'hacked");
    EXPECT_EQ(Mg87("MG87_DESCART", testsupport::kNuovo), "Camicia' WHERE 1=1 --");
    EXPECT_EQ(Mg87("MG87_DESCART", kModello), "Camicia uomo popeline");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA13_ATTRIBUTI WHERE FA13_NOTE = 'hacked'"), 0);
}

// Line and brand go to the attributes of the entity the company's settings name for articles.
TEST_F(Completion, TheAttributeEntityComesFromTheCompanysSettings) {
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Duplicate(kLana));
    testsupport::SetCompanySetting(*conn, 1, "EntitaAttributiArticolo", "1");
    contesto.programma = testsupport::ProgramOnDatabase(conn);
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, kLana, kModello, "TS-LANA-GRIGIA"));
    EXPECT_EQ(Fa13("FA13_LINEA_FA05", kLana), "UOMO-CLASSIC");  // entity 0: as copied
    EXPECT_EQ(Fa12("FA12_STAGIONE_MG5T", kLana), "AI2025");
}

TEST_F(Completion, AFailureIsReportedUnderTheRoutinesNameAndGivesFalse) {
    const auto dati = Dati(Riga("TS-LINO-BLU"));
    ASSERT_TRUE(Duplicate(testsupport::kNuovo));
    conn->Faults().FailMatching("MG87_NOTEART = MG87_NOTEART");
    EXPECT_FALSE(generation::AggiornaFa12_Fa13(contesto, dati, testsupport::kNuovo, kModello, "TS-LINO-BLU"));
    const auto& boxes = shell->Messages()->ErrorBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].procedure, "AggiornaFa12_Fa13");
    EXPECT_EQ(boxes[0].number, db::errc::InjectedFault);
}

TEST_F(Completion, AFailingHistoryIsReportedAndTheCopyGoesOn) {
    conn->Faults().FailMatching("INSERT INTO FA25_STORICOSTAGIONI");
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", Dati(Riga("TS-LANA-GRIGIA"))));
    EXPECT_EQ(History(kLana), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = " + db::SqlText(kLana)), 1);
    const auto& boxes = shell->Messages()->ErrorBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].procedure, "Pcls_DuplArticolo_AfterUpdateFA12");
}

TEST(FashionData, SeasonsAndParametersOfTheCompany) {
    auto conn = db::Connection::Create();
    conn->Open("sqlite::memory:");
    erp::BuildDemoDatabase(*conn, erp::DemoOptions{});
    const long pe2025 = generation::Get_MG5T_IDSTAGIONE(*conn, db::Variant(1), "PE2025  ");
    EXPECT_GT(pe2025, 0);
    EXPECT_EQ(generation::CodiceStagione(*conn, db::Variant(1), db::Variant(pe2025)), "PE2025");
    EXPECT_EQ(generation::Get_MG5T_IDSTAGIONE(*conn, db::Variant(1), "XX'99"), 0);
    EXPECT_EQ(generation::Get_MG5T_IDSTAGIONE(*conn, db::Variant(2), "PE2025"), 0);  // another company
    EXPECT_EQ(generation::CodiceStagione(*conn, db::Variant(1), db::Variant(9999)), "");
    EXPECT_EQ(generation::ValoreParametroFashion(*conn, db::Variant(1), "FA00_FLGCAMPIONARIO"), 1);
    EXPECT_EQ(generation::ValoreParametroFashion(*conn, db::Variant(2), "FA00_FLGCAMPIONARIO"), 0);
    EXPECT_THROW(generation::ValoreParametroFashion(*conn, db::Variant(1), "1; DELETE FROM MG66_ANAGRART"),
                 db::Error);
}

}  // namespace
