// The agganci command line, run as a program: exit codes, what it prints, what it writes.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"
#include "RunAgganci.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

// The demo company in the test's own folder, where the program runs.
class Cli : public testsupport::DemoCompanyFolder {
protected:
    testsupport::ProgramResult OnDb(const std::string& args) { return Agganci("--db sqlite:company.db " + args); }
};

TEST_F(Cli, DuplicateReportsTheRowsWrittenAndRefusesAnExistingCode) {
    const auto dry = OnDb("duplicate MODELLO01 COPIA-1 --dry-run");
    ASSERT_TRUE(Exits(dry, 0, {"Article COPIA-1 would be created from MODELLO01", "MG66_ANAGRART", "MG65_BARCODE"}));
    // The model has rows in these too, but no duplication copies them.
    for (const char* table : {"MG6C_ANAGRARTAGE", "PK07_ARTIMB", "FA63_AGGANCI", "FA25_STORICOSTAGIONI"})
        EXPECT_EQ(dry.out.find(table), std::string::npos) << dry.out;
    EXPECT_NE(OnDb("show COPIA-1").code, 0);  // nothing written

    ASSERT_TRUE(Exits(OnDb("duplicate MODELLO01 COPIA-1 --description 'Camicia copia'"), 0,
                      {"Article COPIA-1 created from MODELLO01", "MG66_ANAGRART"}));

    // A code typed with blanks around it is the code stored, and found as such.
    const long before = Articles();
    EXPECT_TRUE(Exits(OnDb("duplicate MODELLO01 '  COPIA-1'"), 1,
                      {"agganci: article 'COPIA-1' already exists in company 1; nothing was changed"}));

    // Production data left under the new code make the production step fail: nothing of the article stays.
    Exec("INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66, PD18_OPZIONE) VALUES (1, 'COPIA-2', ' ')");
    EXPECT_TRUE(Exits(OnDb("duplicate MODELLO01 COPIA-2"), 1, {"Errore in duplicazione dati di produzione"}));
    EXPECT_EQ(Articles(), before);  // neither refused copy wrote an article
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'COPIA-2'"), 0);
}

// Without --extended-description the new article keeps the source's as it is (none stays none, blanks stay); one
// given keeps its line breaks and tabs.
TEST_F(Cli, DuplicateKeepsTheSourcesExtendedDescriptionAndTakesCodesAsLongAsTheCompanysArticleCodes) {
    Exec("UPDATE MG87_ARTDESC SET MG87_DESCARTEST = 'Oxford  ' WHERE MG87_CODART_MG66 = 'CAM-101'");
    for (const std::string args : {"CAM-100 D1", "CAM-101 D2", "CAM-100 D3 --extended-description 'Riga 1\n\tRiga 2'"})
        ASSERT_EQ(OnDb("duplicate " + args).code, 0) << args;
    const std::string stored = "SELECT MG87_CODART_MG66, MG87_DESCARTEST FROM MG87_ARTDESC WHERE MG87_CODART_MG66 IN "
                               "('D1', 'D2', 'D3') AND MG87_LINGUA_MG52 = ' ' ORDER BY 1";
    EXPECT_EQ(testsupport::Rows(*Open(), stored),
              (std::vector<std::string>{"D1|<null>", "D2|Oxford  ", "D3|Riga 1\n\tRiga 2"}));

    // The new code may be as long as the company's article codes: 25 characters, or the sum of the segments of
    // structured codes. A longer one is a value not valid, and nothing is written.
    const long before = Articles();
    EXPECT_TRUE(Exits(OnDb("duplicate MODELLO01 " + std::string(26, 'L')), 105,
                      {"NEWCODE: takes at most 25 characters (26 given)\n"}));
    Exec("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = '1' WHERE AG00_CHIAVE = 'CodiceStrutturato'");
    Exec("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_DESCR, MG6F_SIZE) VALUES (1, 1, 'Modello', 10), "
         "(1, 2, 'Colore', 4)");
    EXPECT_TRUE(Exits(OnDb("duplicate MODELLO01 MODELLO01-VWXYZ"), 105,
                      {"NEWCODE: takes at most 14 characters (15 given)\n"}));
    EXPECT_EQ(Articles(), before);
    EXPECT_EQ(OnDb("duplicate MODELLO01 MODELLO01-WXYZ").code, 0);
}

// A source without a bill of materials (a fabric; a model whose typology takes none) is copied without one, as the
// mass run copies it, while a bill that fails to copy still fails the article. The attributes of the new article's
// descriptions are among its rows.
TEST_F(Cli, DuplicateCopiesASourceWithoutABillAndFailsOnABillOrABarcodeThatCannotBeMade) {
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
    EXPECT_TRUE(
        Exits(OnDb("duplicate MODELLO01 COPIA-3"), 1, {"duplication failed (Errore in duplicazione distinta base"}));

    // A number whose code no longer fits the barcode type's length ends the numbering: nothing is written.
    Exec("UPDATE MG4B_PARMAGBARCODE SET MG4B_LUNGHEZZA = 8 WHERE MG4B_INDBARCODE = 1");
    const std::string numbering = "SELECT MG4C_ULTNUM FROM MG4C_NUMBARCODE WHERE MG4C_TIPOBARCODE_MG4B = 1";
    const long last = Count(numbering);
    EXPECT_TRUE(Exits(OnDb("duplicate MODELLO01 N8"), 1,
                      {"duplication failed (Errore in duplicazione Barcode: Numerazione esaurita per il barcode "
                       "di tipo 1"}));
    EXPECT_EQ(Articles(), before);  // neither failed copy left an article
    EXPECT_EQ(Count(numbering), last);
}

// Usage errors stop the program before it opens the database (missing.db does not exist), print what is wrong in
// words and exit with the codes the README lists.
TEST_F(Cli, UsageErrorsSayWhatIsWrongAndExitWithTheListedCodesAndHelpExplainsEveryCommand) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--company abc articles", 104, "--company: abc is not a whole number"},
        {"--company 0 articles", 105, "--company: 0 is less than 1"},
        {"demo-db new.db --articles abc", 104, "--articles: abc is not a whole number"},
        {"demo-db new.db --articles -1", 105, "--articles: -1 is less than 0"},
        {"serve --port 99999", 105, "--port: 99999 is more than 65535"},
        {"serve --port -1", 105, "--port: -1 is less than 0"},
        {"serve --idle-seconds 0", 105, "--idle-seconds: 0 is less than 1"},
        {"show 'X\xff'", 105, "CODE: not valid UTF-8 text"},
        // No value holds control characters, and the message shows them written out.
        {"show 'A\x1b[31mRED'", 105, "CODE: A\\x1b[31mRED holds a control character\n"},
        {"duplicate CAM-100 'X3\t'", 105, "NEWCODE: X3\\t holds a control character\n"},
        {"duplicate CAM-100 X2 --description 'Giacca\nlino'", 105,
         "--description: Giacca\\nlino holds a control character\n"},
        {"duplicate CAM-100 X2 --extended-description 'Giacca\n\x01'", 105,
         "--extended-description: Giacca\\n\\x01 holds a control character other than a line break or a tab\n"},
        {"mass --where Articolo=CAM-100 --mode replace --text '\x7f\x1f'", 105, "--text: \\x7f\\x1f holds a control"},
        {"links add MODELLO03 --fabric TS-LINO-BLU --description x --prefix 'P\t'", 105, "--prefix: P\\t holds a"},
        {"duplicate CAM-100 ' '", 105, "NEWCODE: is empty\n"},
        {"duplicate CAM-100 X2 --description " + std::string(73, 'D'), 105,
         "--description: takes at most 72 characters (73 given)\n"},
        {"duplicate CAM-100 X2 --extended-description " + std::string(1673, 'E'), 105,
         "--extended-description: takes at most 1672 characters (1673 given)\n"},
        {"duplicate CAM-100 X2 --skip nope", 105, "--skip: nope is not a group; the groups are barcodes, bom,"},
        {"duplicate CAM-100 X2 --description --quiet", 106, "--description needs a value"},
        {"duplicate CAM-100 X2 --description", 106, "--description needs a value"},
        {"bogus", 109, "bogus: not a command; the commands are demo-db, duplicate, links,"},
    };
    for (const auto& [args, code, message] : cases) {
        SCOPED_TRACE(args);
        const auto r = Agganci("--db sqlite:missing.db " + args);
        EXPECT_TRUE(Exits(r, code, {message}));
        const auto raw = [](unsigned char ch) { return ch != '\n' && std::iscntrl(ch); };  // what a terminal acts on
        EXPECT_TRUE(std::none_of(r.out.begin(), r.out.end(), raw)) << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "new.db"));

    // Every command explains itself.
    for (const char* cmd : {"--help", "demo-db --help", "duplicate --help", "links --help", "links add --help",
                            "links remove --help", "log --help"})
        EXPECT_TRUE(Exits(Agganci(cmd), 0, {"Usage"})) << cmd;
}

// With --json stdout holds one document, whatever stops the command, the options in any place; a --json that is a
// value is no switch.
TEST_F(Cli, JsonIsOneDocumentForEveryError) {
    const long before = Articles();
    const std::string onDb = "--db sqlite:company.db --json ";
    const std::tuple<std::string, int, std::string> cases[] = {
        {onDb + "duplicate CAM-100 'BAD2\xffUTF'", 105, "NEWCODE: not valid UTF-8 text"},
        {onDb + "duplicate CAM-100 X2 --description --json", 106, "--description needs a value"},
        {onDb + "articles --where Articolo", 105, "--where Articolo: no operator (= or ^=)"},
        {onDb + "generate MODELLO01 --proceed-without-variants", 1, "nothing done: Nei parametri fashion"},
        {"duplicate NOPE COPIA-K --db sqlite:company.db --json", 1, "source article 'NOPE' does not exist"},
        {"--json duplicate MODELLO01", 106, "NEWCODE is required"},
        {"--json --company 99999999999 articles", 105, "--company: 99999999999 is more than 2147483647"},
    };
    // A company without a colour variant: the generation run refuses to start, after the command printed its run.
    Exec("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = '' WHERE AG00_CHIAVE = 'VarianteColore'");
    for (const auto& [args, code, error] : cases) {
        SCOPED_TRACE(args);
        const auto r = AgganciStdout(args);
        EXPECT_EQ(r.code, code) << r.out;
        const auto j = nlohmann::json::parse(r.out);  // throws, failing the test, unless stdout is one document
        EXPECT_EQ(j["error"].get<std::string>().rfind(error, 0), 0u) << j;
        EXPECT_EQ(j["exitCode"], code);
    }
    EXPECT_EQ(Articles(), before);

    const auto value = AgganciStdout("--db sqlite:company.db show -- --json");
    EXPECT_EQ(value.code, 1);
    EXPECT_EQ(value.out, "");
}

}  // namespace
