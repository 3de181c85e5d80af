// agganci links show|add|remove and agganci log, run as a program: what they print, what they refuse
// (naming the argument and the form's own words) and what reaches the company database.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

class LinksCli : public testsupport::DemoCompanyFolder {
protected:
    auto Links(const std::string& args) { return Agganci("--db sqlite:company.db " + args); }
};

}  // namespace

TEST_F(LinksCli, ShowPrintsTheHeaderAndTheRowsInFabricOrder) {
    auto r = Links("links show MODELLO01");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Prints(r, {"Prefix: AG   Main fabric: TS-COTONE-BIANCO   Sequence: 10", "Links: 3", "AI2025"}));
    const auto lana = r.out.find("TS-LANA-GRIGIA"), lino = r.out.find("TS-LINO-BLU"), seta = r.out.find("TS-SETA-ROSSA");
    ASSERT_NE(seta, std::string::npos);
    EXPECT_LT(lana, lino);
    EXPECT_LT(lino, seta);

    auto none = Links("links show MODELLO03");
    ASSERT_EQ(none.code, 0) << none.out;
    EXPECT_TRUE(Prints(none, {"No links."}));

    auto fabric = Links("links show TS-LINO-BLU");
    EXPECT_NE(fabric.code, 0);
    EXPECT_TRUE(Prints(fabric, {"MODEL: 'TS-LINO-BLU' is not a finished-product article of company 1"}));
}

// A refused value names its argument and writes nothing; a model without links gets its first one.
TEST_F(LinksCli, AddRefusesWhatTheFormRefusesAndCreatesTheFirstLinkOfAModel) {
    const std::pair<std::string, std::string> refused[] = {
        {"--fabric NOPE --description X", "--fabric: Valore non valido per Tessuto Aggancio: NOPE"},
        {"--fabric TS-LINO-BLU --description ' '", "--description: Campo obbligatorio mancante: Descrizione"},
        {"--fabric TS-LINO-BLU --description X --season XX9999", "--season: Valore non valido per Stagione: XX9999"},
        {"--fabric TS-LINO-BLU --description X --sequence 99", "--sequence: Valore non valido per Sequenza: 99"},
        {"--fabric TS-LINO-BLU --description X --prefix ZZ", "--prefix: "}};  // a saved header keeps its prefix
    for (const auto& [args, refusal] : refused) {
        auto r = Links("links add MODELLO01 " + args);
        EXPECT_NE(r.code, 0) << args;
        EXPECT_TRUE(Prints(r, {refusal}));
    }
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"Links: 3", "Prefix: AG"}));

    auto r = Links("links add MODELLO03 --fabric TS-LINO-BLU --description 'Giacca lino' --season PE2026 --prefix gx "
                   "--quantity 1.5 --line DONNA");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Prints(r, {"Link TS-LINO-BLU added to MODELLO03 (new link header, prefix GX)"}));
    auto show = Links("--json links show MODELLO03");
    ASSERT_EQ(show.code, 0) << show.out;
    EXPECT_TRUE(Prints(show, {"\"prefix\": \"GX\"", "\"season\": \"PE2026\"", "\"quantity\": 1.5",
                              "\"line\": \"DONNA\""}));
}

TEST_F(LinksCli, RemoveTakesARowOrTheWholeHeaderWithTheGeneratedArticles) {
    Exec("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66 = 'CAM-100' WHERE FA64_CODTESS_FA12 = 'TS-SETA-ROSSA'");
    auto row = Links("links remove MODELLO01 --fabric ts-lino-blu");
    ASSERT_EQ(row.code, 0) << row.out;
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"Links: 2"}));

    // CAM-100 existed before the link recorded it: the link did not create it, so it stays.
    auto all = Links("links remove MODELLO01");
    ASSERT_EQ(all.code, 0) << all.out;
    EXPECT_TRUE(Prints(all, {"Article kept: CAM-100 was not created by the link"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'CAM-100'"), 1);
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"No links."}));
    auto again = Links("links remove MODELLO01");
    EXPECT_NE(again.code, 0);
    EXPECT_TRUE(Prints(again, {"MODEL: MODELLO01 has no links"}));
}

// The demo company keeps the processing logs of company.db in "logs/company.db/" beside the database.
TEST_F(LinksCli, LogPrintsTheLastRunFromTheJournalOrTheNewestFile) {
    auto none = Links("log");
    EXPECT_NE(none.code, 0);
    EXPECT_TRUE(Prints(none, {"no processing log for company 1"}));

    const auto logs = dir / "logs" / "company.db";
    std::filesystem::create_directories(logs);
    const auto older = logs / "Generazione_Agganci_Aperture_1__1.3.2026.9.5.3.txt";
    std::ofstream(older) << "vecchio\r\n";
    std::ofstream(logs / "Generazione_Agganci_Aperture_1__2.3.2026.9.5.3.txt") << "Articolo :  AGX Creato \r\n";
    std::filesystem::last_write_time(older, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    auto file = Links("log");
    ASSERT_EQ(file.code, 0) << file.out;
    EXPECT_TRUE(Prints(file, {"Articolo :  AGX Creato"}));
    EXPECT_EQ(file.out.find("vecchio"), std::string::npos) << file.out;

    Exec("INSERT INTO CG9L_LOGELAB (CG9L_DITTA_CG18, CG9L_TITOLO, CG9L_STATO) VALUES (1, 'Generazione_Agganci_Aperture_1_', 1)");
    Exec("INSERT INTO CG9M_LOGELABRIG (CG9M_DITTA_CG18, CG9M_IDELAB_CG9L, CG9M_RIGA, CG9M_TIPO, CG9M_TESTO) "
        "SELECT 1, MAX(CG9L_IDELAB), 1, 3, ' !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ' FROM CG9L_LOGELAB");
    auto journal = Links("log --last");
    ASSERT_EQ(journal.code, 0) << journal.out;
    EXPECT_TRUE(Prints(journal, {"Run: Generazione_Agganci_Aperture_1_", "!!! ATTENZIONE: ARTICOLO NON GENERATO !!!"}));
    EXPECT_TRUE(Prints(Links("--json log"), {"\"source\": \"journal\"", "\"kind\": 3"}));
}
