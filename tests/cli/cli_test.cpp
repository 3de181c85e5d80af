// The agganci command line, run as a program: exit codes, what it prints, what it writes.
#include <gtest/gtest.h>

#include "DemoCompanyFolder.h"
#include "RunAgganci.h"

#include <string>

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

TEST(CliHelp, EveryCommandExplainsItself) {
    for (const char* cmd : {"--help", "demo-db --help", "duplicate --help", "links --help", "links add --help",
                            "links remove --help", "log --help"}) {
        auto r = testsupport::RunAgganci(cmd);
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << cmd << r.out;
    }
}

}  // namespace
