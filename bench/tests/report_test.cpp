// Where the benchmark writes its figures, and what it calls a missed target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "bench/PeakMemory.h"
#include "bench/Report.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BenchReport, TheFiguresReplaceTheirOwnSectionOnly) {
    const auto path = (std::filesystem::temp_directory_path() / ("perf-" + std::to_string(::getpid()) + ".md")).string();
    std::filesystem::remove(path);
    bench::WriteIntoDocument(path, "first\n");
    std::string text = Read(path);
    ASSERT_NE(text.find("first"), std::string::npos);
    {
        std::ofstream out(path);
        out << "# Title\n\nBefore.\n\n" << text << "\nAfter.\n";
    }
    bench::WriteIntoDocument(path, "second\n");
    text = Read(path);
    EXPECT_EQ(text.find("first"), std::string::npos);
    EXPECT_NE(text.find("# Title\n\nBefore.\n\n"), std::string::npos);
    EXPECT_NE(text.find("second\n"), std::string::npos);
    EXPECT_NE(text.find("\nAfter.\n"), std::string::npos);
    std::filesystem::remove(path);
}

bench::SizeResult Size(long articles, double componentSeconds, double referenceSeconds) {
    bench::SizeResult r;
    r.databaseArticles = articles;
    r.component = {100, 0, componentSeconds};
    r.reference = {100, 0, referenceSeconds};
    return r;
}

TEST(BenchReport, TargetsAreJudgedOnEverySize) {
    const bench::Targets targets;
    auto v = bench::Judge({Size(1000, 1.0, 0.8), Size(100000, 1.2, 0.8)}, targets);
    EXPECT_TRUE(v.ratio && v.flat && v.memory && v.plans && v.complete && v.massMemory);
    v = bench::Judge({Size(1000, 1.0, 0.8), Size(100000, 1.3, 0.8)}, targets);  // 30% dearer, 1.63x
    EXPECT_FALSE(v.flat);
    EXPECT_FALSE(v.ratio);
    auto scanned = Size(1000, 1.0, 0.6);
    scanned.plans.scans.push_back({"SELECT * FROM T WHERE A = ?", "SCAN T", "T", false, 1, 10});
    scanned.component.failures = 1;
    v = bench::Judge({scanned}, targets);
    EXPECT_FALSE(v.plans);
    EXPECT_FALSE(v.complete);
    EXPECT_FALSE(v.Deterministic());
    auto growing = Size(1000, 1.0, 0.6);
    growing.halfGrowthKb = 1000;
    growing.lateLogKb = 500;
    growing.growthKb = 1000 + 2 * 500 + 200;  // what the log keeps, and a little
    EXPECT_TRUE(bench::Judge({growing}, targets).memory);
    growing.growthKb += 100;
    EXPECT_FALSE(bench::Judge({growing}, targets).memory);
    auto runs = Size(10000, 1.0, 0.8);
    runs.massRuns = {{1000, 10000, 20000}, {10000, 12000, 26000}};
    EXPECT_TRUE(bench::Judge({runs}, targets).massMemory);
    runs.massRuns.back().dryRunPeakKb = 13100;  // a selection that grows with the run
    EXPECT_FALSE(bench::Judge({runs}, targets).massMemory);
    scanned.plans.scans.front().temporary = true;  // a list of the caller's own: not company data
    scanned.component.failures = 0;
    EXPECT_TRUE(bench::Judge({scanned}, targets).Deterministic());
}

TEST(PeakMemory, GrowthShowsMemoryTouchedDuringTheRun) {
    bench::PeakWatch watch;
    {
        std::vector<char> block(32 << 20);
        for (std::size_t i = 0; i < block.size(); i += 4096) block[i] = 1;
        EXPECT_GE(watch.GrowthKb(), 30000);
    }
    EXPECT_GE(watch.GrowthKb(), 30000);  // a peak, not the current size
    EXPECT_GT(bench::CurrentRssKb(), 0);
}

}  // namespace
