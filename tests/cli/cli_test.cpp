// The agganci command line, run as a program: exit codes, what it prints, what it writes.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"
#include "RunAgganci.h"

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace {

// The demo company in the test's own folder, where the program runs.
class Cli : public testsupport::DemoCompanyFolder {
protected:
    testsupport::ProgramResult OnDb(const std::string& args) { return Agganci("--db sqlite:company.db " + args); }
};

TEST_F(Cli, DuplicateReportsTheRowsWrittenAndRefusesAnExistingCode) {
    auto dry = OnDb("duplicate MODELLO01 COPIA-1 --dry-run");
    ASSERT_EQ(dry.code, 0) << dry.out;
    EXPECT_NE(dry.out.find("Article COPIA-1 would be created from MODELLO01"), std::string::npos) << dry.out;
    EXPECT_NE(OnDb("show COPIA-1").code, 0);  // nothing written

    auto r = OnDb("duplicate MODELLO01 COPIA-1 --description 'Camicia copia'");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("Article COPIA-1 created from MODELLO01"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MG66_ANAGRART"), std::string::npos);

    auto again = OnDb("duplicate MODELLO01 COPIA-1");
    EXPECT_NE(again.code, 0);
    EXPECT_NE(again.out.find("article 'COPIA-1' already exists in company 1; nothing was changed"), std::string::npos)
        << again.out;

    // Production data left under the new code make the production step fail: nothing of the article stays.
    Exec("INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66, PD18_OPZIONE) VALUES (1, 'COPIA-2', ' ')");
    const long before = Articles();
    auto failed = OnDb("duplicate MODELLO01 COPIA-2");
    EXPECT_EQ(failed.code, 1) << failed.out;
    EXPECT_NE(failed.out.find("Errore in duplicazione dati di produzione"), std::string::npos) << failed.out;
    EXPECT_EQ(Articles(), before);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'COPIA-2'"), 0);
}

// A code typed with blanks around it is the code stored: reported as such, and found by the next attempt.
TEST_F(Cli, DuplicateWorksOnTheCodeAsStored) {
    const auto r = AgganciStdout("--db sqlite:company.db --json duplicate CAM-100 '  LEAD3'");
    ASSERT_EQ(r.code, 0) << r.out;
    const auto created = nlohmann::json::parse(r.out);
    EXPECT_EQ(created["article"], "LEAD3");
    EXPECT_EQ(created["rows"]["MG66_ANAGRART"], 1) << created;

    const long before = Articles();
    EXPECT_TRUE(Prints(OnDb("duplicate CAM-100 '  LEAD3'"),
                       {"agganci: article 'LEAD3' already exists in company 1; nothing was changed"}));
    EXPECT_EQ(Articles(), before);
}

// A source without a bill of materials (a fabric; a model whose typology takes none) is copied without one, as the
// mass run copies it, while a bill that fails to copy still fails the article. The attributes of the new article's
// descriptions are among its rows.
TEST_F(Cli, DuplicateCopiesASourceWithoutABillAndCountsTheAttributesOfItsDescriptions) {
    for (const std::string source : {"TS-LINO-BLU", "MODELLO03"}) {
        SCOPED_TRACE(source);
        const std::string code = source + "-2";
        EXPECT_TRUE(Prints(OnDb("duplicate " + source + " " + code + " --dry-run"), {"would be created"}));
        const auto r = AgganciStdout("--db sqlite:company.db --json duplicate " + source + " " + code);
        ASSERT_EQ(r.code, 0) << r.out;
        const long attributes = Count("SELECT COUNT(*) FROM FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC ON FA13_GUID = "
                                      "MG87_GUID WHERE MG87_CODART_MG66 = '" + code + "'");
        EXPECT_GT(attributes, 0);
        EXPECT_EQ(nlohmann::json::parse(r.out)["rows"]["FA13_ATTRIBUTI"], attributes) << r.out;
        EXPECT_TRUE(Prints(OnDb("show " + code), {"FA13_ATTRIBUTI (" + std::to_string(attributes) + " row"}));
    }
    Exec("INSERT INTO PD95_DISBA (PD95_DITTA_CG18, PD95_CODART_MG66) VALUES (1, 'COPIA-3')");
    const long before = Articles();
    const auto failed = OnDb("duplicate MODELLO01 COPIA-3");
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(Prints(failed, {"duplication failed (Errore in duplicazione distinta base"}));
    EXPECT_EQ(Articles(), before);
}

// A number whose code no longer fits the barcode type's length ends the numbering: nothing is written.
TEST_F(Cli, DuplicateRefusesABarcodeLongerThanItsType) {
    Exec("UPDATE MG4B_PARMAGBARCODE SET MG4B_LUNGHEZZA = 8 WHERE MG4B_INDBARCODE = 1");
    const std::string numbering = "SELECT MG4C_ULTNUM FROM MG4C_NUMBARCODE WHERE MG4C_TIPOBARCODE_MG4B = 1";
    const long last = Count(numbering), before = Articles();
    const auto r = OnDb("duplicate MODELLO01 N8");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Prints(r, {"duplication failed (Errore in duplicazione Barcode: Numerazione esaurita per il barcode "
                           "di tipo 1"}));
    EXPECT_EQ(Articles(), before);
    EXPECT_EQ(Count(numbering), last);
}

// Usage errors stop the program before it opens the database (missing.db does not exist), print what is wrong in
// words and exit with the codes the README lists.
TEST_F(Cli, UsageErrorsSayWhatIsWrongAndExitWithTheListedCodes) {
    const struct {
        std::string args;
        int code;
        std::string message;
    } cases[] = {
        {"--company abc articles", 104, "--company: abc is not a whole number"},
        {"--company 0 articles", 105, "--company: 0 is less than 1"},
        {"demo-db new.db --articles abc", 104, "--articles: abc is not a whole number"},
        {"demo-db new.db --articles -1", 105, "--articles: -1 is less than 0"},
        {"serve --port 99999", 105, "--port: 99999 is more than 65535"},
        {"serve --port -1", 105, "--port: -1 is less than 0"},
        {"serve --idle-seconds 0", 105, "--idle-seconds: 0 is less than 1"},
        {"show 'X\xff'", 105, "CODE: not valid UTF-8 text"},
        {"duplicate CAM-100 X2 --description --quiet", 106, "--description needs a value"},
        {"duplicate CAM-100 X2 --description", 106, "--description needs a value"},
        {"bogus", 109, "bogus: not a command; the commands are demo-db, duplicate, links,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto r = Agganci("--db sqlite:missing.db " + c.args);
        EXPECT_EQ(r.code, c.code) << r.out;
        EXPECT_TRUE(Prints(r, {c.message}));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "new.db"));
}

// With --json stdout holds one document, whatever stops the command; a --json that is a value is no switch.
TEST_F(Cli, JsonIsOneDocumentForEveryError) {
    const long before = Articles();
    const struct {
        std::string args;
        int code;
        std::string error;
    } cases[] = {
        {"duplicate CAM-100 'BAD2\xffUTF'", 105, "NEWCODE: not valid UTF-8 text"},
        {"duplicate CAM-100 X2 --description --json", 106, "--description needs a value"},
        {"generate MODELLO01 --proceed-without-variants", 1, "nothing done: Nei parametri fashion"},
    };
    // A company without a colour variant: the generation run refuses to start, after the command printed its run.
    Exec("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = '' WHERE AG00_CHIAVE = 'VarianteColore'");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto r = AgganciStdout("--db sqlite:company.db --json " + c.args);
        EXPECT_EQ(r.code, c.code) << r.out;
        const auto j = nlohmann::json::parse(r.out);  // throws, failing the test, unless stdout is one document
        EXPECT_EQ(j["error"].get<std::string>().rfind(c.error, 0), 0u) << j;
        EXPECT_EQ(j["exitCode"], c.code);
    }
    EXPECT_EQ(Articles(), before);

    const auto value = AgganciStdout("--db sqlite:company.db show -- --json");
    EXPECT_EQ(value.code, 1);
    EXPECT_EQ(value.out, "");
}

TEST(CliHelp, EveryCommandExplainsItself) {
    for (const char* cmd : {"--help", "demo-db --help", "duplicate --help", "links --help", "links add --help",
                            "links remove --help", "log --help"}) {
        auto r = testsupport::RunAgganci(cmd);
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << cmd << r.out;
    }
}

}  // namespace
