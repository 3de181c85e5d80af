// The two ways the benchmark duplicates an article: through the component, and the set-based floor that
// must write the same rows for the comparison to mean anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "BenchDatabase.h"
#include "bench/BenchRun.h"
#include "bench/ComponentDuplication.h"
#include "bench/ReferenceDuplication.h"

namespace {

using benchtest::Added;
using benchtest::RowCounts;

std::string LogFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "agganci-bench-test";
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

TEST(BenchDuplication, TheReferenceWritesTheRowsTheComponentWrites) {
    auto c = benchtest::BenchCompany(3);
    const auto start = RowCounts(*c);
    bench::ComponentDuplicator component(c, "sqlite::memory:", 1, LogFolder());
    ASSERT_EQ(component.MassRun("BENCH-000001", "BENCH-000001", "C-"), 1) << component.LastError();
    const auto afterComponent = RowCounts(*c);
    bench::ReferenceDuplicator reference(c, 1);
    reference.OpenRun();
    reference.DuplicateOneArticle("BENCH-000001", "R-BENCH-000001");
    reference.CloseRun();
    const auto afterReference = RowCounts(*c);

    // The processing log's rows included: the run's row and its ten lines.
    const auto byComponent = Added(start, afterComponent);
    const auto byReference = Added(afterComponent, afterReference);
    EXPECT_EQ(byReference, byComponent);
    EXPECT_EQ(byComponent.at("CG9M_LOGELABRIG"), 10);
    EXPECT_EQ(byComponent.at("PD96_LEGAMIDISBA"), 10);
    EXPECT_EQ(byComponent.at("MG87_ARTDESC"), 3);
    // Both new barcodes are numbered on: no code is used twice.
    EXPECT_EQ(benchtest::Scalar(*c, "SELECT COUNT(*) FROM MG65_BARCODE WHERE MG65_CODART_MG66 IN ('C-BENCH-000001', "
                                    "'R-BENCH-000001')"),
              2);
    EXPECT_EQ(benchtest::Scalar(*c, "SELECT COUNT(DISTINCT MG65_CODBARCODE) FROM MG65_BARCODE"),
              benchtest::Scalar(*c, "SELECT COUNT(*) FROM MG65_BARCODE"));
}

TEST(BenchDuplication, AFailedReferenceArticleLeavesNothing) {
    auto c = benchtest::BenchCompany(2);
    bench::ReferenceDuplicator reference(c, 1);
    reference.DuplicateOneArticle("BENCH-000001", "R-1");
    const auto before = RowCounts(*c);
    EXPECT_THROW(reference.DuplicateOneArticle("BENCH-000002", "R-1"), db::Error);  // the code is taken
    EXPECT_EQ(RowCounts(*c), before);
    EXPECT_EQ(c->TransactionLevel(), 0);
}

TEST(BenchDuplication, TheMassRunSelectsCreatesAndLogsEachArticle) {
    auto c = benchtest::BenchCompany(3);
    bench::ComponentDuplicator component(c, "sqlite::memory:", 1, LogFolder());
    EXPECT_EQ(component.DryRun("BENCH-000001", "BENCH-000002", "C-"), 2);
    EXPECT_EQ(component.MassRun("BENCH-000001", "BENCH-000002", "C-"), 2) << component.LastError();
    EXPECT_EQ(component.MassRun("BENCH-000002", "BENCH-000003", "C-"), 1);  // C-BENCH-000002 exists: left as it is
    const auto& lines = component.RunLog().RigheAccumulate();
    auto logged = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
    EXPECT_TRUE(logged("Inizio duplicazione per l'articolo:  BENCH-000003"));
    EXPECT_TRUE(logged("Articolo :  C-BENCH-000003 Creato "));
    EXPECT_TRUE(logged("L'articolo C-BENCH-000002 è già esistente. ARTICOLO NON GENERATO!! "));
    EXPECT_EQ(benchtest::Scalar(*c, "SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'C-%'"), 3);
    EXPECT_EQ(c->TransactionLevel(), 0);
}

// The two methods take turns inside the component's mass run: every article created by each, the reference's
// writes between two articles of a run that is under way, and one log run per mass run for each method.
TEST(BenchDuplication, TheMethodsTakeTurnsInsideTheComponentsMassRuns) {
    host::InstallShellHost();
    erp::RegisterProcedures();
    const auto folder = std::filesystem::path(LogFolder()) / "turns";
    for (long runArticles : {0L, 10L}) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        bench::RunSettings s;
        s.databaseArticles = 30;
        s.duplicated = 25;
        s.block = 10;
        s.runArticles = runArticles;
        s.planArticles = 0;
        s.folder = folder.string();
        s.keepDatabase = true;
        const bench::SizeResult r = bench::RunSize(s);
        EXPECT_EQ(r.firstFailure, "");
        EXPECT_EQ(r.component.articles, 25);
        EXPECT_EQ(r.reference.articles, 25);
        EXPECT_EQ(r.component.failures, 0);
        EXPECT_EQ(r.runArticles, runArticles == 0 ? 25 : 10);

        auto c = db::Connection::Create();
        c->Open("sqlite:" + (folder / "bench-30.db").string());
        for (const char* prefix : {"C-", "R-"})
            EXPECT_EQ(benchtest::Scalar(*c, std::string("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE '") +
                                                prefix + "%'"),
                      25)
                << prefix;
        // The reference's first turn came before the component's eleventh article, inside the run.
        EXPECT_LT(benchtest::Scalar(*c, "SELECT rowid FROM MG66_ANAGRART WHERE MG66_CODART = 'R-BENCH-000001'"),
                  benchtest::Scalar(*c, "SELECT rowid FROM MG66_ANAGRART WHERE MG66_CODART = 'C-BENCH-000011'"));
        // A log run per mass run and method: one each, or three each in runs of 10.
        EXPECT_EQ(benchtest::Scalar(*c, "SELECT COUNT(*) FROM CG9L_LOGELAB"), runArticles == 0 ? 2 : 6);
        c->Close();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
