// agganci mass, run as a program on a demo database: the dry run that writes nothing, and a run that
// creates the ticked articles only.
#include <gtest/gtest.h>

#include "DatabaseSnapshot.h"
#include "DemoCompanyFolder.h"
#include "db/Driver.h"

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

class MassCommand : public testsupport::DemoCompanyFolder {
protected:
    auto Mass(const std::string& args) { return Agganci("--db sqlite:company.db mass " + args); }
};

TEST_F(MassCommand, TheDryRunListsTheCodesAndTheRunCreatesTheTickedArticlesWithTheVariantsChosen) {
    const long before = Articles();
    // --untick finds the article as the selection does, whatever the case typed.
    const auto r = Mass("--where Articolo=CAM-100..CAM-102 --untick cam-101 --mode prefix --text X --dry-run "
                        "--proceed-without-variants");
    EXPECT_TRUE(Exits(r, 0, {"XCAM-100", "XCAM-102"}));
    EXPECT_EQ(r.out.find("XCAM-101"), std::string::npos) << r.out;
    EXPECT_EQ(Articles(), before);
    // A prefix selects as = and ranges do: case aside.
    EXPECT_TRUE(Prints(Mass("--where Articolo^=cam-10 --mode prefix --text X --dry-run --proceed-without-variants"),
                       {"XCAM-100", "XCAM-105"}));

    // A mask giving several articles one code: only the first would be created, as the run does it.
    EXPECT_TRUE(Prints(Mass("--where Articolo=CAM-100..CAM-101 --mode mask --text ZZZZZZZ --dry-run "
                            "--proceed-without-variants"),
                       {"CAM-100                     ZZZZZZZ                     would create",
                        "CAM-101                     ZZZZZZZ                     same code as CAM-100: not created"}));
    // The code after truncation is what the preview shows and checks against the database.
    ASSERT_EQ(Agganci("--db sqlite:company.db duplicate MODELLO01 ABCDEFGHIJKLMNOPQRSTUVWXY").code, 0);
    EXPECT_TRUE(Prints(Mass("--where Articolo=CAM-100 --mode prefix --text ABCDEFGHIJKLMNOPQRSTUVWXY --truncate yes "
                            "--dry-run --proceed-without-variants"),
                       {"exists: not created"}));
    // A selection left empty, by --where or by --untick, is an error, not an empty list or an empty run.
    for (const std::string selection : {"Articolo=NOPE", "Articolo=CAM-100..CAM-101 --untick CAM-100 --untick cam-101"})
        for (const std::string how : {" --dry-run", ""}) {
            SCOPED_TRACE(selection + how);
            const auto none = Mass("--where " + selection + " --mode prefix --text X --proceed-without-variants" + how);
            EXPECT_EQ(none.code, 1);
            EXPECT_EQ(none.out, "agganci: --where: no article selected\n");
        }
    EXPECT_FALSE(std::filesystem::exists(dir / "logs"));  // the dry runs above wrote not even the log folder

    // The run creates the ticked articles only. agganci variants prints the list the variant form shows for a
    // model; --variant is answered in the variant form opened from the tab: the one selected article's variants.
    EXPECT_TRUE(Exits(Mass("--where Articolo=CAM-100..CAM-101 --untick CAM-101 --mode prefix --text X "
                           "--proceed-without-variants"),
                      0, {"Inizio duplicazione per l'articolo:  CAM-100"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'XCAM-100'"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'XCAM-101'"), 0);
    // Run again over both, as after an interrupted run: the article made already is left as it is, counted apart,
    // and the rest is made.
    const auto again = AgganciStdout("--json --db sqlite:company.db mass --where Articolo=CAM-100..CAM-101 --mode "
                                     "prefix --text X --proceed-without-variants");
    EXPECT_EQ(again.code, 0) << again.out;
    const auto counts = nlohmann::json::parse(again.out);
    EXPECT_EQ(counts["created"], 1);
    EXPECT_EQ(counts["notCreated"], 0);
    EXPECT_EQ(counts["alreadyExisted"], 1);
    const auto done = Mass("--where Articolo=CAM-100..CAM-101 --mode prefix --text X --proceed-without-variants");
    EXPECT_TRUE(Exits(done, 0, {"L'articolo XCAM-101 è già esistente. ARTICOLO NON GENERATO!! ",
                                "already existed: CAM-100 -> XCAM-100\nalready existed: CAM-101 -> XCAM-101\n",
                                "\n0 created, 0 not created, 2 already existed\n"}));
    EXPECT_EQ(done.out.find("not created:"), std::string::npos) << done.out;

    EXPECT_TRUE(Exits(Agganci("--db sqlite:company.db variants MODELLO01"), 0, {"COL", "TAG"}));

    ASSERT_TRUE(Exits(Mass("--where Articolo=CAM-100 --mode prefix --text V --variant TAG=off"), 0));
    const std::string variant = "SELECT MG6B_FLGGESTVAR FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'VCAM-100' "
                                "AND MG6B_CODICEVAR_MG5F = ";
    EXPECT_EQ(Count(variant + "'COL'"), 1);
    EXPECT_EQ(Count(variant + "'TAG'"), 0);

    const long articles = Articles();
    EXPECT_TRUE(Exits(Mass("--where Famiglia=CAM --mode prefix --text W --variant XYZ=on"), 1,
                      {"--variant XYZ: the variant form does not offer this variant"}));
    EXPECT_EQ(Articles(), articles);
}

// What the run refuses, its dry run refuses too, each naming the flag at fault, and nothing is written: a blank
// code text, a variant the variant form does not offer, the complete code for several articles, an unknown season,
// line, brand or typology, no answer to the run's variant question. Every value and every question is settled
// before the first article is written, not half way through the selection.
TEST_F(MassCommand, TheDryRunRefusesWhatTheRunRefuses) {
    const std::string before = testsupport::DatabaseSnapshot(*Open());
    for (const std::string how : {" --dry-run", " --proceed-without-variants"}) {
        SCOPED_TRACE(how);
        // A value that is not valid is a usage error naming its flag (a description longer than its column among
        // them: MG87_DESCART holds 72 characters, MG87_DESCARTEST 1672).
        const std::string one = "--where Articolo=CAM-100 --mode prefix --text X ";
        const std::tuple<std::string, int, std::string> cases[] = {
            {"--where Famiglia=PAN --mode prefix --text '  '", 1,
             "--text: Campo obbligatorio o dati inseriti non validi!"},
            {one + "--variant BOGUS=on", 1, "--variant BOGUS: the variant form does not offer this variant"},
            {"--where Articolo=CAM-100..CAM-101 --mode replace --text NEW", 1,
             "--mode replace: the complete new code needs exactly one selected article; --where selects 2\n"},
            {"--where Articolo=CAM-100..CAM-101 --mode prefix --text X --description D", 1,
             "--description: the option needs exactly one selected article; --where selects 2\n"},
            {"--where Articolo=CAM-100..CAM-101 --mode prefix --text X --extended-description E", 1,
             "--extended-description: the option needs exactly one selected article; --where selects 2\n"},
            {"--where Articolo=CAM-100..CAM-102 --mode prefix --text X --typology T", 1,
             "--typology: the option needs exactly one selected article; --where selects 3\n"},
            {one + "--season NOPE", 1, "--season: Valore non valido per Stagione: NOPE"},
            {one + "--line NOPE", 1, "--line: Valore non valido per Linea: NOPE"},
            {one + "--brand NOPE", 1, "--brand: Valore non valido per Marchio: NOPE"},
            {one + "--typology NOPE", 1, "--typology: Valore non valido per Tipologia: NOPE"},
            {"--where Articolo=CAM-100 --mode maybe --text X", 105, "--mode: maybe not in {prefix,mask,replace}"},
            {one + "--truncate maybe", 105, "--truncate: maybe not in {yes,no}"},
            {one + "--variant COL=maybe", 105, "--variant 'COL=maybe': the state must be on or off"},
            {one + "--variant COL=on --variant col=off", 105,
             "--variant 'col=off': the variant COL is given another choice already"},
            {one + "--description " + std::string(73, 'D'), 105,
             "--description: takes at most 72 characters (73 given)"},
            {one + "--extended-description " + std::string(1673, 'E'), 105,
             "--extended-description: takes at most 1672 characters (1673 given)"},
            {"--where Articolo=A..B..C --mode prefix --text X", 105, "--where Articolo=A..B..C: a range has one '..'"},
        };
        for (const auto& [args, code, refusal] : cases)
            EXPECT_TRUE(Exits(Mass(args + how), code, {(code == 105 ? "" : "agganci: ") + refusal})) << args;
    }
    // A long code without --truncate: the run asks, so it stops before the first article.
    EXPECT_TRUE(Exits(Mass("--where Articolo=CAM-100..CAM-105 --mode prefix --text " + std::string(20, 'L') +
                           " --proceed-without-variants"),
                      1, {"--truncate yes|no"}));
    for (const std::string how : {" --dry-run", ""}) {
        const auto r = Mass("--where Articolo=CAM-100 --mode prefix --text X" + how);
        EXPECT_EQ(r.code, 1) << how;
        EXPECT_EQ(r.out, "agganci: no variant selection: the run would ask whether to go on without one; answer with "
                         "--proceed-without-variants, or choose the variants with --variant\n");
    }
    EXPECT_EQ(testsupport::DatabaseSnapshot(*Open()), before);

    // A column the selection's table does not have is refused with the valid fields, not by a failed statement.
    const auto column = Mass("--where FA12_NONEXIST=1 --mode prefix --text X --dry-run");
    EXPECT_TRUE(Exits(column, 1, {"agganci: --where FA12_NONEXIST=1: Campo non previsto dalla ricerca: FA12_NONEXIST "
                                  "(fields: Articolo, Famiglia,",
                                  "Gruppo statistico 4; or a column of FA12_ARTICOLI or FA13_ATTRIBUTI)\n"}));
    EXPECT_EQ(column.out.find("CREATE TABLE"), std::string::npos) << column.out;

    // Article codes made of segments: the tab does not offer the prefix.
    Exec("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_DESCR, MG6F_SIZE) VALUES (1, 1, 'Modello', 6)");
    EXPECT_TRUE(Exits(Mass("--where Articolo=CAM-100 --mode prefix --text X --dry-run"), 1,
                      {"agganci: --mode prefix: the prefix mode is not offered when the company's article codes are "
                       "structured\n"}));
}

// Ctrl-C or SIGTERM stops the run between two articles: the log is closed, the articles done are counted and
// whole. (SIGTERM here: a program started in the background by a shell script ignores Ctrl-C.)
TEST_F(MassCommand, AnInterruptedRunOrAnErrorShownDuringItIsReportedWithHowFarItGot) {
    const int status = Shell(
        "$AGGANCI demo-db big.db --articles 2000 >/dev/null 2>&1 && "
        "{ $AGGANCI --db sqlite:big.db mass --where Articolo=BENCH-000001..BENCH-002000 --mode prefix --text K "
        "--proceed-without-variants >out.txt 2>err.txt & pid=$!; } && "
        "for i in $(seq 600); do grep -q '^\\[5/' err.txt && break; sleep 0.05; done; kill -TERM $pid; wait $pid");
    EXPECT_EQ(status, 130);
    const std::string err = Read("err.txt");
    const auto counts = err.find(" created, 0 not created\n");
    ASSERT_NE(counts, std::string::npos) << err;
    const long created = std::stol(err.substr(err.rfind('\n', counts) + 1));
    EXPECT_GE(created, 5);
    EXPECT_LT(created, 2000);
    EXPECT_NE(err.find("agganci: the run stopped: interrupted after " + std::to_string(created) + " of 2000; every "
                       "article is whole or absent, run the command again for the rest\n"),
              std::string::npos) << err;
    const auto found = Agganci("--db sqlite:big.db --json articles --where Articolo^=KBENCH");
    EXPECT_NE(found.out.find("\"count\": " + std::to_string(created)), std::string::npos) << found.out.substr(0, 300);
    // The log ends as every run's does.
    EXPECT_NE(Read("out.txt").find("Termine elaborazione"), std::string::npos);

    // An error box shown during the run does not stop it: the run is reported as usual, the error with it, and the
    // exit status says that not everything was done. A failed season history row leaves its article without it;
    // a failed completion removes its article.
    Open()->GetDriver().RunScript(
        "CREATE TRIGGER SEASON_FAILS BEFORE INSERT ON FA25_STORICOSTAGIONI WHEN NEW.FA25_CODART_MG66 IN "
        "('XCAM-101', 'JCAM-101') BEGIN SELECT RAISE(ABORT, 'no season'); END;"
        "CREATE TRIGGER COMPLETION_FAILS BEFORE UPDATE ON FA12_ARTICOLI WHEN NEW.FA12_CODART_MG66 = 'YCAM-101' "
        "BEGIN SELECT RAISE(ABORT, 'no completion'); END;");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"X", {"\nerror in Pcls_DuplArticolo_AfterUpdateFA12: no season - statement: INSERT INTO FA25_STORICOSTAGIONI",
               "\n3 created, 0 not created\n"}},
        {"Y", {"\nnot created: CAM-101 -> YCAM-101: Errore nella funzione: AggiornaFa12_Fa13\n"
               "error in AggiornaFa12_Fa13: no completion - statement:  UPDATE FA12_ARTICOLI",
               "\n2 created, 1 not created\n"}},
    };
    for (const auto& [text, pieces] : cases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(Exits(Mass("--where Articolo=CAM-100..CAM-102 --mode prefix --text " + text +
                               " --proceed-without-variants"),
                          2, {"Termine elaborazione", pieces[0], pieces[1]}));
        EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART IN ('" + text + "CAM-100', '" + text +
                        "CAM-102')"),
                  2);
    }
    const auto json = AgganciStdout("--json --db sqlite:company.db mass --where Articolo=CAM-100..CAM-102 --mode "
                                    "prefix --text J --proceed-without-variants");
    EXPECT_EQ(json.code, 2);
    const auto run = nlohmann::json::parse(json.out);  // one document
    EXPECT_EQ(run["created"], 3);
    ASSERT_EQ(run["errors"].size(), 1u) << run;
    EXPECT_EQ(run["errors"][0].get<std::string>().rfind("error in Pcls_DuplArticolo_AfterUpdateFA12: no season", 0),
              0u);
}

}  // namespace
