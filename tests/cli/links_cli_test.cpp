// agganci links show|add|remove and agganci log, run as a program: what they print, what they refuse
// (naming the argument and the form's own words) and what reaches the company database.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool Contiene(const std::string& testo, const std::string& parte) { return testo.find(parte) != std::string::npos; }

class LinksCli : public testsupport::DemoCompanyFolder {
protected:
    void SetUp() override {
        DemoCompanyFolder::SetUp();
        std::filesystem::create_directories(dir / "logs");
        // The company's processing logs go to the test's folder.
        Exec("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = '" + (dir / "logs").string() +
             "/' WHERE AG00_CHIAVE = 'CartellaLog'");
    }

    auto Links(const std::string& args) { return Agganci("--db sqlite:company.db " + args); }
};

}  // namespace

TEST_F(LinksCli, ShowPrintsTheHeaderAndTheRowsInFabricOrder) {
    auto r = Links("links show MODELLO01");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Contiene(r.out, "Prefix: AG   Main fabric: TS-COTONE-BIANCO   Sequence: 10")) << r.out;
    EXPECT_TRUE(Contiene(r.out, "Links: 3")) << r.out;
    const auto lana = r.out.find("TS-LANA-GRIGIA"), lino = r.out.find("TS-LINO-BLU"), seta = r.out.find("TS-SETA-ROSSA");
    ASSERT_NE(seta, std::string::npos);
    EXPECT_LT(lana, lino);
    EXPECT_LT(lino, seta);
    EXPECT_TRUE(Contiene(r.out, "AI2025")) << r.out;

    auto none = Links("links show MODELLO03");
    ASSERT_EQ(none.code, 0) << none.out;
    EXPECT_TRUE(Contiene(none.out, "No links.")) << none.out;

    auto fabric = Links("links show TS-LINO-BLU");
    EXPECT_NE(fabric.code, 0);
    EXPECT_TRUE(Contiene(fabric.out, "MODEL: 'TS-LINO-BLU' is not a finished-product article of company 1")) << fabric.out;
}

TEST_F(LinksCli, AddCreatesTheFirstLinkOfAModel) {
    auto r = Links("links add MODELLO03 --fabric TS-LINO-BLU --description 'Giacca lino' --season PE2026 --prefix gx "
                   "--quantity 1.5 --line DONNA");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Contiene(r.out, "Link TS-LINO-BLU added to MODELLO03 (new link header, prefix GX)")) << r.out;

    auto show = Links("--json links show MODELLO03");
    ASSERT_EQ(show.code, 0) << show.out;
    EXPECT_TRUE(Contiene(show.out, "\"prefix\": \"GX\"")) << show.out;
    EXPECT_TRUE(Contiene(show.out, "\"season\": \"PE2026\"")) << show.out;
    EXPECT_TRUE(Contiene(show.out, "\"quantity\": 1.5")) << show.out;
    EXPECT_TRUE(Contiene(show.out, "\"line\": \"DONNA\"")) << show.out;
}

TEST_F(LinksCli, ARefusedValueNamesItsArgumentAndWritesNothing) {
    auto fabric = Links("links add MODELLO01 --fabric NOPE --description X");
    EXPECT_NE(fabric.code, 0);
    EXPECT_TRUE(Contiene(fabric.out, "--fabric: Valore non valido per Tessuto Aggancio: NOPE")) << fabric.out;

    auto description = Links("links add MODELLO01 --fabric TS-LINO-BLU --description ' '");
    EXPECT_NE(description.code, 0);
    EXPECT_TRUE(Contiene(description.out, "--description: Campo obbligatorio mancante: Descrizione")) << description.out;

    auto season = Links("links add MODELLO01 --fabric TS-LINO-BLU --description X --season XX9999");
    EXPECT_TRUE(Contiene(season.out, "--season: Valore non valido per Stagione: XX9999")) << season.out;

    auto sequence = Links("links add MODELLO01 --fabric TS-LINO-BLU --description X --sequence 99");
    EXPECT_TRUE(Contiene(sequence.out, "--sequence: Valore non valido per Sequenza: 99")) << sequence.out;

    // The prefix of a saved header does not change.
    auto prefix = Links("links add MODELLO01 --fabric TS-LINO-BLU --description X --prefix ZZ");
    EXPECT_NE(prefix.code, 0);
    EXPECT_TRUE(Contiene(prefix.out, "--prefix: ")) << prefix.out;

    auto show = Links("links show MODELLO01");
    EXPECT_TRUE(Contiene(show.out, "Links: 3")) << show.out;
    EXPECT_TRUE(Contiene(show.out, "Prefix: AG")) << show.out;
}

TEST_F(LinksCli, RemoveTakesARowOrTheWholeHeaderWithTheGeneratedArticles) {
    Exec("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66 = 'CAM-100' WHERE FA64_CODTESS_FA12 = 'TS-SETA-ROSSA'");
    auto row = Links("links remove MODELLO01 --fabric ts-lino-blu");
    ASSERT_EQ(row.code, 0) << row.out;
    EXPECT_TRUE(Contiene(Links("links show MODELLO01").out, "Links: 2"));

    // CAM-100 existed before the link recorded it: the link did not create it, so it stays.
    auto all = Links("links remove MODELLO01");
    ASSERT_EQ(all.code, 0) << all.out;
    EXPECT_TRUE(Contiene(all.out, "Article kept: CAM-100 was not created by the link")) << all.out;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'CAM-100'"), 1);
    EXPECT_TRUE(Contiene(Links("links show MODELLO01").out, "No links."));
    auto again = Links("links remove MODELLO01");
    EXPECT_NE(again.code, 0);
    EXPECT_TRUE(Contiene(again.out, "MODEL: MODELLO01 has no links")) << again.out;
}

TEST_F(LinksCli, LogPrintsTheLastRunFromTheJournalOrTheNewestFile) {
    auto none = Links("log");
    EXPECT_NE(none.code, 0);
    EXPECT_TRUE(Contiene(none.out, "no processing log for company 1")) << none.out;

    const auto older = dir / "logs" / "Generazione_Agganci_Aperture_1__1.3.2026.9.5.3.txt";
    std::ofstream(older) << "vecchio\r\n";
    std::ofstream(dir / "logs" / "Generazione_Agganci_Aperture_1__2.3.2026.9.5.3.txt") << "Articolo :  AGX Creato \r\n";
    std::filesystem::last_write_time(older, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    auto file = Links("log");
    ASSERT_EQ(file.code, 0) << file.out;
    EXPECT_TRUE(Contiene(file.out, "Articolo :  AGX Creato")) << file.out;
    EXPECT_FALSE(Contiene(file.out, "vecchio")) << file.out;

    Exec("INSERT INTO CG9L_LOGELAB (CG9L_DITTA_CG18, CG9L_TITOLO, CG9L_STATO) VALUES (1, 'Generazione_Agganci_Aperture_1_', 1)");
    Exec("INSERT INTO CG9M_LOGELABRIG (CG9M_DITTA_CG18, CG9M_IDELAB_CG9L, CG9M_RIGA, CG9M_TIPO, CG9M_TESTO) "
        "SELECT 1, MAX(CG9L_IDELAB), 1, 3, ' !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ' FROM CG9L_LOGELAB");
    auto journal = Links("log --last");
    ASSERT_EQ(journal.code, 0) << journal.out;
    EXPECT_TRUE(Contiene(journal.out, "Run: Generazione_Agganci_Aperture_1_")) << journal.out;
    EXPECT_TRUE(Contiene(journal.out, "!!! ATTENZIONE: ARTICOLO NON GENERATO !!!")) << journal.out;
    auto json = Links("--json log");
    EXPECT_TRUE(Contiene(json.out, "\"source\": \"journal\"")) << json.out;
    EXPECT_TRUE(Contiene(json.out, "\"kind\": 3")) << json.out;
}
