// agganci links show|add|remove and agganci log, run as a program: what they print, what they refuse
// (naming the argument and the form's own words) and what reaches the company database; and how the codes and
// --variant choices given to the commands that work through the forms are matched and written.
#include <gtest/gtest.h>

#include "DatabaseSnapshot.h"
#include "DemoCompanyFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

class LinksCli : public testsupport::DemoCompanyFolder {
protected:
    auto Links(const std::string& args) { return Agganci("--db sqlite:company.db " + args); }
    std::vector<std::string> Rows(const std::string& sql) { return testsupport::Rows(*Open(), sql); }
};

}  // namespace

TEST_F(LinksCli, ShowPrintsTheHeaderAndTheRowsInFabricOrderAndRemoveTakesARowOrTheWholeHeader) {
    const auto r = Links("links show MODELLO01");
    ASSERT_TRUE(Exits(r, 0, {"Prefix: AG   Main fabric: TS-COTONE-BIANCO   Sequence: 10", "Links: 3", "AI2025"}));
    const auto lana = r.out.find("TS-LANA-GRIGIA"), lino = r.out.find("TS-LINO-BLU");
    const auto seta = r.out.find("TS-SETA-ROSSA");
    ASSERT_NE(seta, std::string::npos);
    EXPECT_LT(lana, lino);
    EXPECT_LT(lino, seta);

    EXPECT_TRUE(Exits(Links("links show MODELLO03"), 0, {"No links."}));
    EXPECT_TRUE(Exits(Links("links show TS-LINO-BLU"), 1,
                      {"MODEL: 'TS-LINO-BLU' is not a finished-product article of company 1"}));

    // Remove takes a row, or the whole header with the articles the link generated.
    Exec("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66 = 'CAM-100' WHERE FA64_CODTESS_FA12 = 'TS-SETA-ROSSA'");
    ASSERT_TRUE(Exits(Links("links remove MODELLO01 --fabric ts-lino-blu"), 0));
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"Links: 2"}));

    // CAM-100 existed before the link recorded it: the link did not create it, so it stays.
    EXPECT_TRUE(Exits(Links("links remove MODELLO01"), 0, {"Article kept: CAM-100 was not created by the link"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'CAM-100'"), 1);
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"No links."}));
    EXPECT_TRUE(Exits(Links("links remove MODELLO01"), 1, {"MODEL: MODELLO01 has no links"}));
}

// A refused value names its argument and writes nothing. The first link of a model comes with the model's new
// header: refused, it leaves neither. A value of the wrong kind or size is checked as the command line is read: a
// usage error naming the option and what it takes.
TEST_F(LinksCli, AddRefusesWhatTheFormRefusesAndCreatesTheFirstLinkOfAModelWithItsHeader) {
    const std::string before = testsupport::DatabaseSnapshot(*Open());
    const std::string one = "MODELLO01 --fabric TS-LINO-BLU --description X ", three = "MODELLO03 --description X ";
    const std::string lino = three + "--fabric TS-LINO-BLU ", seta = three + "--fabric TS-SETA-ROSSA ";
    const std::tuple<std::string, int, std::string> refused[] = {
        {"MODELLO01 --fabric NOPE --description X", 1, "--fabric: Valore non valido per Tessuto Aggancio: NOPE"},
        {"MODELLO01 --fabric TS-LINO-BLU --description ' '", 1,
         "--description: Campo obbligatorio mancante: Descrizione"},
        {one + "--season XX9999", 1, "--season: Valore non valido per Stagione: XX9999"},
        {one + "--sequence 99", 1, "--sequence: Valore non valido per Sequenza: 99"},
        {one + "--prefix ZZ", 1, "--prefix: the prefix of a saved link header cannot be changed (it is AG)"},
        {seta + "--line XYZ", 1, "--line: Valore non valido per Linea: XYZ"},
        {seta + "--brand XYZ", 1, "--brand: Valore non valido per Marchio: XYZ"},
        {seta + "--season XYZ", 1, "--season: Valore non valido per Stagione: XYZ"},
        {seta + "--typology XYZ", 1, "--typology: Valore non valido per Tipologia: XYZ"},
        {three + "--fabric TS-NOPE", 1, "--fabric: Valore non valido per Tessuto Aggancio: TS-NOPE"},
        {three + "--fabric MODELLO01", 1, "--fabric: Valore non valido per Tessuto Aggancio: MODELLO01"},
        {lino + "--quantity abc", 104, "--quantity: abc is not a number"},
        {lino + "--quantity 1,5", 104, "--quantity: 1,5 is not a number"},
        {lino + "--quantity 1e14", 105, "--quantity: 1e14 is more than 9999999999999.99999"},
        {lino + "--sequence abc", 104, "--sequence: abc is not a whole number"},
        {lino + "--sequence 1.5", 104, "--sequence: 1.5 is not a whole number"},
        {lino + "--sequence 99999999999", 105, "--sequence: 99999999999 is more than 2147483647"},
        {lino + "--description " + std::string(73, 'D'), 105, "--description: takes at most 72 characters (73 given)"},
        {lino + "--prefix " + std::string(26, 'P'), 105, "--prefix: takes at most 25 characters (26 given)"},
        {lino + "--line " + std::string(21, 'L'), 105, "--line: takes at most 20 characters (21 given)"}};
    for (const auto& [args, code, refusal] : refused) {
        SCOPED_TRACE(args);
        EXPECT_TRUE(Exits(Links("links add " + args), code, {refusal + "\n"}));
    }
    EXPECT_EQ(testsupport::DatabaseSnapshot(*Open()), before);
    // Blanks alone leave a number field empty, as an empty value does.
    EXPECT_TRUE(
        Exits(Links("links add MODELLO02 --fabric TS-DENIM-BLU --description X --quantity ' ' --sequence ' '"), 0));
    // "-" alone is a prefix: an empty one is said in words.
    Exec("UPDATE FA63_AGGANCI SET FA63_PREFISSO = '' WHERE FA63_CODART_MG66 = 'MODELLO01'");
    EXPECT_TRUE(Prints(Links("links show MODELLO01"), {"Prefix: (none)   Main fabric"}));
    EXPECT_TRUE(Prints(Links("links add MODELLO01 --fabric TS-LINO-BLU --description X --prefix -"),
                       {"--prefix: the prefix of a saved link header cannot be changed (it is (none))\n"}));

    ASSERT_TRUE(Exits(Links("links add MODELLO03 --fabric TS-LINO-BLU --description 'Giacca lino' --season PE2026 "
                            "--prefix gx --quantity 1.5 --line DONNA"),
                      0, {"Link TS-LINO-BLU added to MODELLO03 (new link header, prefix GX)"}));
    EXPECT_TRUE(Exits(Links("--json links show MODELLO03"), 0,
                      {"\"prefix\": \"GX\"", "\"season\": \"PE2026\"", "\"quantity\": 1.5", "\"line\": \"DONNA\""}));
}

// Variant codes match as the database compares codes. A grouping asked for a variant whose source row has none
// would be dropped by the engine (the new row takes its grouping from the source's): refused, nothing written.
TEST_F(LinksCli, CodesAndVariantChoicesTypedInAnotherCaseAreMatchedAndWrittenAsTheMastersHaveThem) {
    EXPECT_TRUE(Exits(Links("generate MODELLO04 --variant tag=on:SUMMER --dry-run"), 0));

    const long articles = Articles();
    const std::pair<std::string, std::string> refused[] = {
        {"duplicate MODELLO01 NV2 --variant COL=on:SUMMER",
         "--variant COL: the article 'MODELLO01' has no grouping of this variant to copy into a new one; give the "
         "variant without :SUMMER\n"},
        {"mass --where Articolo=CAM-100 --mode prefix --text X --variant ves=on:auto",
         "--variant ves: the article 'CAM-100' has no grouping of this variant to copy into a new one; give the "
         "variant without :auto\n"}};
    for (const auto& [args, refusal] : refused) {
        SCOPED_TRACE(args);
        EXPECT_TRUE(Exits(Links(args), 1, {refusal}));
    }
    EXPECT_EQ(Articles(), articles);

    // The forms find a code in any case, and would store it as typed; the commands type the master's spelling.
    ASSERT_TRUE(Exits(Links("links add modello03 --fabric ts-lino-blu --description X --season pe2026 --line donna "
                            "--brand urban --typology camicia"),
                      0, {"Link TS-LINO-BLU added to MODELLO03 (new link header, prefix (none))"}));
    ASSERT_TRUE(
        Exits(Links("links add MODELLO01 --fabric TS-TWILL-NERO --description X --main-fabric ts-cotone-bianco"), 0));
    EXPECT_EQ(Rows("SELECT FA63_CODART_MG66, FA64_CODTESS_FA12, FA64_LINEA_FA05, FA64_MARCHIO_FA06, "
                   "FA64_TIPOLOGIA_FA04 FROM FA63_AGGANCI INNER JOIN FA64_AGGANCIDET ON FA64_GUID_FA63 = FA63_GUID "
                   "WHERE FA63_CODART_MG66 = 'MODELLO03'"),
              std::vector<std::string>{"MODELLO03|TS-LINO-BLU|DONNA|URBAN|CAMICIA"});
    EXPECT_EQ(Rows("SELECT FA63_TSPRINCIPALE FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'"),
              std::vector<std::string>{"TS-COTONE-BIANCO"});
    EXPECT_TRUE(Exits(Links("links add MODELLO03 --fabric TS-SETA-ROSSA --description X --line nope"), 1,
                      {"--line: Valore non valido per Linea: nope"}));

    ASSERT_TRUE(Exits(Links("mass --where Articolo=CAM-100 --mode prefix --text X --season pe2026 --line donna "
                            "--brand urban --typology camicia --proceed-without-variants"),
                      0));
    EXPECT_EQ(Rows("SELECT FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04 FROM FA12_ARTICOLI "
                   "WHERE FA12_CODART_MG66 = 'XCAM-100'"),
              std::vector<std::string>{"PE2026|CAMICIA"});
    EXPECT_EQ(Rows("SELECT DISTINCT FA13_LINEA_FA05, FA13_MARCHIO_FA06 FROM FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC "
                   "ON MG87_GUID = FA13_GUID WHERE MG87_CODART_MG66 = 'XCAM-100'"),
              std::vector<std::string>{"DONNA|URBAN"});
}

// The demo company keeps the processing logs of company.db in "logs/company.db/" beside the database.
// Without either, no log (reading_commands_test.cpp: EveryRunKeepsItsOwnLog...).
TEST_F(LinksCli, LogPrintsTheLastRunFromTheJournalOrTheNewestFile) {
    const auto logs = dir / "logs" / "company.db";
    std::filesystem::create_directories(logs);
    const auto older = logs / "Generazione_Agganci_Aperture_1__1.3.2026.9.5.3.txt";
    std::ofstream(older) << "vecchio\r\n";
    std::ofstream(logs / "Generazione_Agganci_Aperture_1__2.3.2026.9.5.3.txt") << "Articolo :  AGX Creato \r\n";
    std::filesystem::last_write_time(older, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    const auto file = Links("log");
    ASSERT_TRUE(Exits(file, 0, {"Articolo :  AGX Creato"}));
    EXPECT_EQ(file.out.find("vecchio"), std::string::npos) << file.out;

    Exec("INSERT INTO CG9L_LOGELAB (CG9L_DITTA_CG18, CG9L_TITOLO, CG9L_STATO) "
         "VALUES (1, 'Generazione_Agganci_Aperture_1_', 1)");
    Exec("INSERT INTO CG9M_LOGELABRIG (CG9M_DITTA_CG18, CG9M_IDELAB_CG9L, CG9M_RIGA, CG9M_TIPO, CG9M_TESTO) "
        "SELECT 1, MAX(CG9L_IDELAB), 1, 3, ' !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ' FROM CG9L_LOGELAB");
    EXPECT_TRUE(Exits(Links("log --last"), 0,
                      {"Run: Generazione_Agganci_Aperture_1_", "!!! ATTENZIONE: ARTICOLO NON GENERATO !!!"}));
    EXPECT_TRUE(Prints(Links("--json log"), {"\"source\": \"journal\"", "\"kind\": 3"}));
}
