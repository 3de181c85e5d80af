// agganci generate, run as a program on a demo database: the questions answered by flags, the log
// printed, the dry run that writes nothing.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "db/Connection.h"
#include "db/Driver.h"

namespace {

class GenerateCommand : public testsupport::DemoCompanyFolder {
protected:
    auto Generate(const std::string& args) { return Agganci("--db sqlite:company.db generate " + args); }
};

// A question without its flag (in the dry run too), a model without links or a variant the form does not offer
// stops the command before anything is written; --truncate answers the length question.
TEST_F(GenerateCommand, TheQuestionsAreAnsweredByFlagsOrStopTheCommand) {
    const long before = Articles();
    for (const std::string how : {"", " --dry-run"}) {
        const auto r = Generate("MODELLO01" + how);
        EXPECT_EQ(r.code, 1) << how;
        EXPECT_EQ(r.out, "agganci: no variant selection: the run would ask whether to go on without one; answer with "
                         "--proceed-without-variants, or choose the variants with --variant\n");
        // A variant the form does not offer is refused.
        EXPECT_TRUE(Exits(Generate("MODELLO04 --variant NOPE=on" + how), 1,
                          {"agganci: --variant NOPE: the variant form does not offer this variant"}));
    }

    EXPECT_TRUE(Exits(Generate("MODELLO03 --proceed-without-variants"), 1, {"model 'MODELLO03' has no link rows"}));

    Exec("UPDATE FA63_AGGANCI SET FA63_PREFISSO = 'PREFISSOLUNGO' WHERE FA63_CODART_MG66 = 'MODELLO01'");
    EXPECT_TRUE(Exits(Generate("MODELLO01 --proceed-without-variants"), 1, {"--truncate yes|no"}));
    // Nor is a grouping the form does not take.
    EXPECT_TRUE(Prints(Generate("MODELLO04 --variant COL=on:GRPX"),
                       {"--variant COL: the variant form takes no grouping of its own (GRPX)"}));

    Exec("UPDATE FA63_AGGANCI SET FA63_PREFISSO = 'PX', FA63_FLGCODALT = 1, FA63_CODALT = 'MODELLOLUNGO01' "
         "WHERE FA63_CODART_MG66 = 'MODELLO01'");
    EXPECT_TRUE(Prints(Generate("MODELLO01 --dry-run --proceed-without-variants"),
                       {"PXMODELLOLUNGO01TS-LINO-BLU too long (27 > 25)"}));
    ASSERT_TRUE(Exits(Generate("MODELLO01 --proceed-without-variants --truncate no"), 2));  // every row left out
    EXPECT_EQ(Articles(), before);  // nor did any command before it write an article
    ASSERT_TRUE(Exits(Agganci("--json --db sqlite:company.db generate MODELLO01 --proceed-without-variants "
                              "--truncate yes"),
                      2, {"\"created\": 1"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'PXMODELLOLUNGO01TS-LINO-B'"), 1);
}

// The dry run answers the length question as --truncate does, and sees a code an earlier row of the same run
// takes: two codes cut to one, the first row creates the article and the second records it, as the run then
// does. What the run refuses, it refuses too.
TEST_F(GenerateCommand, TheDryRunTruncatesAsAnsweredAndSeesACodeAnEarlierRowTakes) {
    for (const char* row : {"--fabric TS-LINO-BLU --description Uno --prefix PREFISSOLUNGHISSIMO",
                            "--fabric TS-DENIM-BLU --description Due"})
        ASSERT_EQ(Agganci("--db sqlite:company.db links add MODELLO03 " + std::string(row)).code, 0);
    const long before = Articles();
    const std::string code = "PREFISSOLUNGHISSIMOMODELL   ";
    EXPECT_TRUE(Prints(Generate("MODELLO03 --dry-run --truncate yes --proceed-without-variants"),
                       {"TS-DENIM-BLU      " + code + "would create\n",
                        "TS-LINO-BLU       " + code + "same code as TS-DENIM-BLU: recorded, not created\n"}));
    EXPECT_TRUE(Prints(Generate("MODELLO03 --dry-run --truncate no --proceed-without-variants"),
                       {"TS-DENIM-BLU      PREFISSOLUNGHISSIMOMODELLO03TS-DENIM-BLU too long: skipped\n"}));
    for (const char* notValid : {"--truncate maybe", "--variant COL=maybe", "--variant COL=on --variant col=off"})
        EXPECT_EQ(Generate("MODELLO04 --dry-run " + std::string(notValid)).code, 105) << notValid;
    EXPECT_EQ(Articles(), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "logs"));  // not even the log folder

    ASSERT_TRUE(Exits(Generate("MODELLO03 --truncate yes --proceed-without-variants"), 0));
    EXPECT_EQ(Articles(), before + 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA64_AGGANCIDET WHERE FA64_ARTAGGANCIO_MG66 = '" + db::RTrim(code) + "'"),
              2);
}

TEST_F(GenerateCommand, TheRunCreatesWhatItCanAndRegeneratingKeepsAnArticleTheLinkDidNotCreate) {
    // Two rows could not be generated: each on one line, its reason's two parts joined.
    ASSERT_TRUE(Exits(Generate("MODELLO01 --proceed-without-variants"), 2,
                      {"Inizio elaborazione per tessuto:  TS-LANA-GRIGIA", "Articolo :  AGMODELLO01TS-LINO-BLU Creato ",
                       "not created: TS-LANA-GRIGIA -> AGMODELLO01TS-LANA-GRIGIA: Errore in duplicazione della "
                       "variante colore ereditata dal tessuto. Verificare che il tessuto di aggancio abbia la "
                       "variante colore attiva e raggurppamento valorizzato.",
                       "1 created, 2 not created"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA64_AGGANCIDET WHERE FA64_ARTAGGANCIO_MG66 = 'AGMODELLO01TS-LINO-BLU'"), 1);

    // The dry run sees the generated row and the fabric that cannot give its colour, and writes nothing.
    const long before = Articles();
    ASSERT_TRUE(Exits(Generate("MODELLO01 --dry-run --proceed-without-variants"), 0,
                      {"AGMODELLO01TS-LINO-BLU      already generated (AGMODELLO01TS-LINO-BLU)",
                       "AGMODELLO01TS-SETA-ROSSA    would not be created: the link fabric TS-SETA-ROSSA has no "
                       "active colour variant COL with a grouping"}));
    EXPECT_EQ(Articles(), before);

    // Run again, the generated row is left as it is and counted apart.
    EXPECT_TRUE(Prints(Generate("MODELLO01 --proceed-without-variants"),
                       {"0 created, 2 not created, 1 already generated\n"}));

    // Regenerated: the same article again, nothing more.
    ASSERT_TRUE(Exits(Generate("MODELLO01 --regenerate --proceed-without-variants"), 2,
                      {"Articolo :  AGMODELLO01TS-LINO-BLU Creato "}));
    EXPECT_EQ(Articles(), before);

    // --regenerate replaces only what the link created: an article of the same code made before is kept, in the
    // dry run's words and in the run.
    ASSERT_TRUE(
        Exits(Agganci("--db sqlite:company.db duplicate MODELLO02 DNMODELLO04TS-DENIM-BLU --description Preesistente"),
              0));
    EXPECT_TRUE(Prints(Generate("MODELLO04 --regenerate --dry-run --proceed-without-variants"),
                       {"DNMODELLO04TS-DENIM-BLU     exists, not created by this row: kept and recorded"}));
    // Recorded, not created: counted apart.
    EXPECT_TRUE(Exits(Generate("MODELLO04 --regenerate --proceed-without-variants"), 0,
                      {"Errore: Codice articolo da generare già esistente! ",
                       "already existed: TS-DENIM-BLU -> DNMODELLO04TS-DENIM-BLU\n",
                       "\n2 created, 0 not created, 1 already existed\n"}));
    EXPECT_TRUE(Prints(AgganciStdout("--json --db sqlite:company.db generate MODELLO04 --regenerate "
                                     "--proceed-without-variants"),
                       {"\"alreadyExisted\": 1,", "\"created\": 2,"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = 'DNMODELLO04TS-DENIM-BLU' "
                    "AND MG87_DESCART = 'Preesistente'"),
              1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = 'DNMODELLO04TS-DENIM-BLU' "
                    "AND FA12_MODAGG_COD_MG66 = 'MODELLO04'"),
              0);
}

// Another program holding the database's write lock for the whole run: nothing can be written, the command
// says so with a non-zero status, and its counts are what the database holds.
TEST_F(GenerateCommand, TheReportTellsWhatTheRunDidWhateverHoldsTheDatabaseOrTheLog) {
    auto holder = db::Connection::Create();
    holder->Open("sqlite:" + (dir / "company.db").string());
    holder->BeginTrans();
    holder->Execute("CREATE TABLE HOLD_LOCK (X INTEGER)", nullptr, db::adExecuteNoRecords);
    const auto r = Agganci("--json --db sqlite:company.db generate MODELLO04 --proceed-without-variants");
    holder->RollbackTrans();
    EXPECT_NE(r.code, 0) << r.out;
    EXPECT_TRUE(Prints(r, {"database is locked"}));
    EXPECT_TRUE(Prints(r, {"\"created\": 0"}) || !Prints(r, {"\"created\""})) << r.out;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'DNMODELLO04%'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA64_AGGANCIDET WHERE FA64_ARTAGGANCIO_MG66 LIKE 'DNMODELLO04%'"), 0);

    // What the run reports comes from what it did, not from its log: with the log switched off (its folder is
    // a file) the three articles are reported, and the exit status is the same as with the log on.
    ASSERT_TRUE(std::ofstream(dir / "not-a-folder").good());
    Exec("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = '" + (dir / "not-a-folder" / "logs/").string() +
         "' WHERE AG00_DITTA_CG18 = 1 AND AG00_CHIAVE = 'CartellaLog'");
    ASSERT_TRUE(Exits(Agganci("--json --db sqlite:company.db generate MODELLO04 --proceed-without-variants"), 0,
                      {"\"created\": 3", "\"logFile\": \"\""}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'DNMODELLO04%'"), 3);

    // The mass run reports from its outcome too.
    EXPECT_TRUE(Exits(Agganci("--json --db sqlite:company.db mass --where Articolo=CAM-100..CAM-101 --mode prefix "
                              "--text Q --proceed-without-variants"),
                      0, {"\"created\": 2"}));
}

// --variant is answered in the variant form opened by the links tab's CMD_VARIANTI: the model's variants, the
// one named switched off on every new article (named twice with the same choice, once), the others as the form
// offers them. An error box shown during the run does not stop it: the run is reported as usual, the error with
// it, exit 2.
TEST_F(GenerateCommand, VariantChoicesAreMadeInTheVariantFormAndAnErrorShownDuringTheRunIsReported) {
    Open()->GetDriver().RunScript("CREATE TRIGGER SEASON_FAILS BEFORE INSERT ON FA25_STORICOSTAGIONI WHEN "
                                  "NEW.FA25_CODART_MG66 = 'DNMODELLO04TS-DENIM-BLU' BEGIN SELECT RAISE(ABORT, "
                                  "'no season'); END");
    EXPECT_TRUE(Exits(Generate("MODELLO04 --variant TAG=off --variant tag=off"), 2,
                      {"Termine elaborazione", "\nerror in Pcls_DuplArticolo_AfterUpdateFA12: no season - "
                       "statement: INSERT INTO FA25_STORICOSTAGIONI", "\n3 created, 0 not created\n"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'DNMODELLO04%'"), 3);
    for (const auto& [variant, managed] : {std::pair{"TAG", 0}, {"COL", 1}})
        EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 LIKE 'DNMODELLO04%' AND "
                        "MG6B_CODICEVAR_MG5F = '" + std::string(variant) + "' AND MG6B_FLGGESTVAR = " +
                        std::to_string(managed)),
                  3) << variant;
}

}  // namespace
