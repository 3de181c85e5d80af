// The command line as scripts and people use it around the runs: JSON for results and errors, options
// anywhere, filters checked, the data and the logs looked at.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "db/Driver.h"

namespace {

class ReadingCommands : public testsupport::DemoCompanyFolder {
protected:
    nlohmann::json Json(const std::string& args, int expectedCode = 0) {
        const auto r = AgganciStdout(args);
        EXPECT_EQ(r.code, expectedCode) << args << "\n" << r.out;
        return nlohmann::json::parse(r.out);  // throws, failing the test, when stdout is not one document
    }
};

bool Has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST_F(ReadingCommands, FiltersAreCheckedAndDuplicateAndShowPrintWhatAnArticleHolds) {
    EXPECT_TRUE(Exits(Agganci("--db sqlite:company.db articles --where Colore=ROSSO"), 1,
                      {"--where Colore=ROSSO: Campo non previsto dalla ricerca: Colore (fields: Articolo, Famiglia,"}));
    for (const std::string bad : {"Articolo^=", "Articolo=", "Articolo=A..B..C"})
        EXPECT_TRUE(Exits(Agganci("--db sqlite:company.db articles --where " + bad), 105, {"--where " + bad + ": "}));
    const auto list = Json("--db sqlite:company.db --json articles --where Articolo=CAM-100..CAM-101");
    ASSERT_EQ(list["count"], 2) << list;
    EXPECT_EQ(list["articles"][1]["code"], "CAM-101");

    // A code typed with blanks around it is the code stored; --json may come after the command.
    const auto copy = Json("--db sqlite:company.db duplicate MODELLO01 '  COPIA-J' --json");
    EXPECT_EQ(copy["article"], "COPIA-J");
    EXPECT_EQ(copy["rows"]["MG66_ANAGRART"], 1);

    ASSERT_EQ(Agganci("--db sqlite:company.db generate modello04 --proceed-without-variants").code, 0);
    // The stored spelling of the model makes the code, whatever case was typed.
    const auto article = Json("--db sqlite:company.db --json show dnmodello04ts-denim-blu");
    EXPECT_EQ(article["article"], "DNMODELLO04TS-DENIM-BLU");
    EXPECT_EQ(article["links"][0]["model"], "MODELLO04");
    EXPECT_EQ(article["tables"]["MG66_ANAGRART"].size(), 1u);
    EXPECT_EQ(Agganci("--db sqlite:company.db show NOPE").code, 1);
}

TEST_F(ReadingCommands, EveryRunKeepsItsOwnLogBesideItsDatabaseApartFromAnotherDatabase) {
    const auto elsewhere = dir / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    const std::string run = "--db sqlite:../company.db --quiet generate MODELLO04 --regenerate "
                            "--proceed-without-variants";
    for (int i = 0; i < 2; ++i) ASSERT_EQ(testsupport::RunAgganci(run, elsewhere.string()).code, 0);
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "logs"));
    const auto listed = Json("--db sqlite:company.db --json log --list");
    ASSERT_EQ(listed["files"].size(), 2u) << listed;
    ASSERT_EQ(listed["runs"].size(), 2u) << listed;
    EXPECT_TRUE(Exits(Agganci("--db sqlite:company.db log " + listed["files"][0]["file"].get<std::string>()), 0,
                      {"Inizio elaborazione"}));
    EXPECT_TRUE(Exits(Agganci("--db sqlite:company.db log 2"), 0, {"Run: "}));
    for (const std::string number : {"0", "00", "3", "99999999999999999999"}) {
        SCOPED_TRACE(number);
        const auto none = Agganci("--db sqlite:company.db log " + number);
        EXPECT_EQ(none.code, 1);
        EXPECT_EQ(none.out, "agganci: RUN: the journal has no run " + number +
                                " for company 1 (agganci log --list shows them)\n");
    }

    // Two runs started in the same second share the journal's title: the list gives each its own file.
    const std::filesystem::path file1 = listed["runs"][0]["file"].get<std::string>();
    const auto file2 = file1.parent_path() / (file1.stem().string() + "_2.txt");
    std::filesystem::rename(dir / listed["runs"][1]["file"].get<std::string>(), dir / file2);
    Exec("UPDATE CG9L_LOGELAB SET CG9L_TITOLO = (SELECT CG9L_TITOLO FROM CG9L_LOGELAB WHERE CG9L_IDELAB = 1)");
    const auto sameSecond = Json("--db sqlite:company.db --json log --list");
    EXPECT_EQ(sameSecond["runs"][0]["file"], file1.string()) << sameSecond;
    EXPECT_EQ(sameSecond["runs"][1]["file"], file2.string()) << sameSecond;
    EXPECT_TRUE(Has(Agganci("--db sqlite:company.db log --list").out, " " + file2.filename().string() + "\n"));

    // A database beside it that never ran has no log of its own.
    ASSERT_EQ(Agganci("demo-db other.db").code, 0);
    const auto other = Agganci("--db sqlite:other.db log");
    EXPECT_EQ(other.code, 1);
    EXPECT_EQ(other.out, "agganci: no processing log for company 1\n");
    EXPECT_EQ(Json("--db sqlite:other.db --json log --list"),
              (nlohmann::json{{"runs", nlohmann::json::array()}, {"files", nlohmann::json::array()}}));
}

// A line of the run that ends in CR LF is printed from the journal as the file holds it: the line, then an empty
// one, and no carriage return. Progress goes to stderr unless quiet.
TEST_F(ReadingCommands, TheLogOfARunIsPrintedWithoutCarriageReturnsAndProgressGoesToStderrUnlessQuiet) {
    Open()->GetDriver().RunScript("CREATE TRIGGER FASHION_FAILS BEFORE INSERT ON FA12_ARTICOLI WHEN "
                                  "NEW.FA12_CODART_MG66 = 'XCAM-100' BEGIN SELECT RAISE(ABORT, 'no fashion'); END");
    ASSERT_EQ(Agganci("--db sqlite:company.db mass --where Articolo=CAM-100 --mode prefix --text X "
                      "--proceed-without-variants").code, 2);
    const auto log = Agganci("--db sqlite:company.db log 1");
    EXPECT_TRUE(Exits(log, 0, {"\nErrore in duplicazione attributi fashion \n\nno fashion - statement:"}));
    EXPECT_FALSE(Has(log.out, "\r")) << log.out;

    const auto run = Agganci("--db sqlite:company.db mass --where Articolo=CAM-100..CAM-101 --mode prefix --text P "
                             "--proceed-without-variants");
    // Piped: one line per article done.
    EXPECT_TRUE(Has(run.out, "[1/2] Duplicazione dell'articolo : CAM-100 (0 di2)\n"
                             "[2/2] Duplicazione dell'articolo : CAM-101 (1 di2)\n")) << run.out;
    EXPECT_FALSE(Has(run.out, "[0/2]")) << run.out;
    const auto quiet = Agganci("--db sqlite:company.db mass --where Articolo=CAM-102 --mode prefix --text P --quiet "
                               "--proceed-without-variants");
    EXPECT_EQ(quiet.code, 0) << quiet.out;
    EXPECT_FALSE(Has(quiet.out, "[1/1] ")) << quiet.out;
}

}  // namespace
