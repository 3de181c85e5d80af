// Completion of a generated article: the link row's (or the mass parameters') data written over the copy,
// the model and fabric it was made from, and the season history opened while the engine copies it.
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "db/FaultInjector.h"
#include "generation/Completion.h"
#include "generation/FashionData.h"

namespace {

using testsupport::kModello;
using testsupport::kNuovo;

const std::string kLana = "AGMODELLO01TS-LANA-GRIGIA";

class Completion : public testsupport::GenerationFixture {
protected:
    // The article of a link row, created with the season handler subscribed, as the links form does.
    bool Generate(const std::string& code, const std::string& fabric, const generation::DatiArticoloGenerato& dati) {
        return Duplicate(code, fabric, std::make_shared<generation::GestoreAfterUpdateFA12>(contesto, dati, kModello));
    }
    // model|link fabric|season|typology|line|brand|description|extended description of the article.
    std::string Article(const std::string& code) {
        const auto rows = testsupport::Rows(
            *conn, "SELECT FA12_MODAGG_COD_MG66, FA12_TESAGG_COD_MG66, FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04, "
                   "FA13_LINEA_FA05, FA13_MARCHIO_FA06, MG87_DESCART, MG87_DESCARTEST FROM MG87_ARTDESC INNER JOIN "
                   "FA12_ARTICOLI ON FA12_CODART_MG66 = MG87_CODART_MG66 AND FA12_OPZIONE_MG5E = '' INNER JOIN "
                   "FA13_ATTRIBUTI ON FA13_GUID = MG87_GUID AND FA13_ENTITA_FA11 = 0 WHERE MG87_LINGUA_MG52 = '' AND "
                   "MG87_CODART_MG66 = " + db::SqlText(code));
        return rows.size() == 1 ? rows[0] : std::to_string(rows.size()) + " rows";
    }
    long History(const std::string& code) {
        return Count("SELECT COUNT(*) FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " + db::SqlText(code));
    }
    long HistorySeason(const std::string& code) {
        return Count("SELECT FA25_IDSTAGIONE_MG5T FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " +
                     db::SqlText(code));
    }
};

// The history row is written while the engine copies (the row's season, the company's flags: prototyping 0,
// sample 1, collection 1, reassortment 0), once per season, and not at all without a season.
TEST_F(Completion, TheSeasonHistoryIsOpenedOnceWithTheCompanysFlags) {
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", dati));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT FA25_DITTA_CG18, FA25_IDSTAGIONE_MG5T, FA25_FLGPROTOTIPIA, "
                                       "FA25_FLGCAMPIONARIO, FA25_FLGCOLLEZIONE, FA25_FLGRIASSORTIMENTO FROM "
                                       "FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " + db::SqlText(kLana)),
              std::vector<std::string>{"1|" + std::to_string(SeasonId("AI2025")) + "|0|1|1|0"});
    auto fa12 = db::Recordset::Create();
    fa12->Open("SELECT * FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = " + db::SqlText(kLana), conn);
    generation::Pcls_DuplArticolo_AfterUpdateFA12(contesto, dati, kModello, fa12);
    generation::Pcls_DuplArticolo_AfterUpdateFA12(contesto, dati, kModello, nullptr);  // nothing to do
    EXPECT_EQ(History(kLana), 1);
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());

    Exec("UPDATE FA12_ARTICOLI SET FA12_STAGIONE_MG5T = NULL WHERE FA12_CODART_MG66 = 'MODELLO01'");
    ASSERT_TRUE(Generate(kNuovo, "TS-LINO-BLU", Dati(generation::RigaAggancio{})));
    EXPECT_EQ(History(kNuovo), 0);
}

// The links tab's values come from the row (the generation run's tests check a full row); where the row
// has nothing, the copy keeps the model's and the history takes the model's season. The mass tab takes the
// parameters and writes no fabric.
TEST_F(Completion, TheArticleTakesTheRowsOrTheMassParametersValuesOnTheCompanysAttributeEntity) {
    generation::RigaAggancio riga;  // all Null, as a row with nothing filled in
    riga.descrizione = db::Variant("");
    ASSERT_TRUE(Generate(kNuovo, "TS-LINO-BLU", Dati(riga)));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, Dati(riga), kNuovo, kModello, "TS-LINO-BLU"));
    EXPECT_EQ(Article(kNuovo),
              "MODELLO01|TS-LINO-BLU|PE2025|CAMICIA|UOMO-CLASSIC|ALTA-SARTORIA|Camicia lino blu|Camicia in lino blu");
    EXPECT_EQ(HistorySeason(kNuovo), SeasonId("PE2025"));

    const std::string massCode = "AGMODELLO01MASSA";
    generation::DatiArticoloGenerato mass;
    mass.scheda = entry::Util_Duplmassiva;
    mass.riga = Riga("TS-LANA-GRIGIA");  // shown on the links tab, not the mass tab's business
    mass.massivi = {db::Variant("PE2026"), db::Variant("UOMO-SPORT"), db::Variant("POLO"),
                    db::Variant("MARE-BLU"), db::Variant("Camicia dell'estate łososiowa"), db::Variant("")};
    ASSERT_TRUE(Generate(massCode, "TS-LINO-BLU", mass));
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, mass, massCode, kModello, "TS-LINO-BLU"));
    EXPECT_EQ(Article(massCode),
              "MODELLO01||PE2026|POLO|UOMO-SPORT|MARE-BLU|Camicia dell'estate łososiowa|Camicia in lino blu");
    EXPECT_EQ(HistorySeason(massCode), SeasonId("PE2026"));

    // Line and brand go to the attributes of the entity the company's settings name for articles.
    const auto dati = Dati(Riga("TS-LANA-GRIGIA"));
    ASSERT_TRUE(Duplicate(kLana));
    testsupport::SetCompanySetting(*conn, 1, "EntitaAttributiArticolo", "1");
    contesto.programma = testsupport::ProgramOnDatabase(conn);
    ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, kLana, kModello, "TS-LANA-GRIGIA"));
    // Entity 0 keeps the copied line and brand; the season is the row's.
    EXPECT_EQ(Article(kLana),
              "MODELLO01|TS-LANA-GRIGIA|AI2025|CAMICIA|UOMO-CLASSIC|ALTA-SARTORIA|Camicia uomo flanella grigia|Camicia in lino blu");
}

// A failing completion is shown under its routine's name; a failing history is shown and the copy goes on.
TEST_F(Completion, FailuresAreReportedUnderTheRoutinesName) {
    conn->Faults().FailMatching("INSERT INTO FA25_STORICOSTAGIONI");
    ASSERT_TRUE(Generate(kLana, "TS-LINO-BLU", Dati(Riga("TS-LANA-GRIGIA"))));
    conn->Faults().Clear();
    EXPECT_EQ(History(kLana), 0);
    EXPECT_TRUE(Exists(kLana));

    conn->Faults().FailMatching("MG87_NOTEART = MG87_NOTEART");
    EXPECT_FALSE(generation::AggiornaFa12_Fa13(contesto, Dati(Riga("TS-LINO-BLU")), kLana, kModello, "TS-LINO-BLU"));
    const auto& boxes = shell->Messages()->ErrorBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].procedure, "Pcls_DuplArticolo_AfterUpdateFA12");
    EXPECT_EQ(boxes[1].procedure, "AggiornaFa12_Fa13");
    EXPECT_EQ(boxes[1].number, db::errc::InjectedFault);
}

using FashionData = testsupport::GenerationFixture;

TEST_F(FashionData, SeasonsAndParametersOfTheCompany) {
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
