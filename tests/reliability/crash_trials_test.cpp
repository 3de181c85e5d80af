// The agganci program killed (SIGKILL) in the middle of a mass run over sixty generated articles, at
// moments drawn with a fixed seed over the length of a whole run: the file the next program opens passes
// its integrity check and holds each new article complete or not at all, and the same command run again
// makes the rest.
#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "AgganciProcess.h"
#include "ArticleFootprint.h"
#include "CompanyFile.h"
#include "DemoCompanyFolder.h"
#include "GenerationFixture.h"
#include "RunCheck.h"
#include "Sampling.h"

namespace {

using namespace reliability;
using Clock = std::chrono::steady_clock;

constexpr long kArticles = 60;
constexpr unsigned kSeed = 20251206;

// BENCH-000042: the code demo-db gives its generated article number 42.
std::string BenchCode(long n) {
    char code[32];
    std::snprintf(code, sizeof code, "BENCH-%06ld", n);
    return code;
}

class CrashTrials : public testsupport::DemoCompanyFolder {
protected:
    void SetUp() override {
        DemoCompanyFolder::SetUp();
        ASSERT_EQ(Agganci("demo-db template.db --articles " + std::to_string(kArticles)).code, 0);
        for (long i = 1; i <= kArticles; ++i) codes.push_back("K" + BenchCode(i));
    }

    // The company as demo-db made it, in the trial's file.
    void FreshTrialFile() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove((dir / "trial.db").string() + suffix);
        std::filesystem::copy_file(dir / "template.db", dir / "trial.db");
    }

    static std::vector<std::string> MassCommand() {
        const std::string range = "Articolo=" + BenchCode(1) + ".." + BenchCode(kArticles);
        return {"--db", "sqlite:trial.db", "mass", "--where", range, "--mode", "prefix", "--text", "K",
                "--proceed-without-variants"};
    }

    // The whole mass command, left to finish.
    void RunToTheEnd(const std::string& when) {
        AgganciProcess run(MassCommand(), dir);
        EXPECT_TRUE(AgganciProcess::WentThrough(run.Wait())) << when;
    }

    // The trial's file as the next program finds it.
    struct Found {
        std::string integrity;
        std::vector<std::string> orphans;
        std::map<std::string, Footprint> articles;
    };
    Found Look() {
        auto c = CompanyFile::Open(dir / "trial.db");
        return {IntegrityCheck(*c), testsupport::OrphanRows(*c), Footprints(*c, codes)};
    }

    std::vector<std::string> codes;
};

TEST_F(CrashTrials, AKilledMassRunLeavesEachArticleCompleteOrAbsentAndRunningItAgainMakesTheRest) {
    // A whole run: how long it takes and what a complete article is. The shorter of two runs: the first, on a
    // cold cache, can take much longer than the killed runs will, and the kills would then miss the run.
    auto whole = Clock::duration::max();
    for (int run = 0; run < 2; ++run) {
        FreshTrialFile();
        const auto started = Clock::now();
        RunToTheEnd("the run without a kill");
        whole = std::min(whole, Clock::duration(Clock::now() - started));
    }
    const auto complete = Look().articles;
    for (const auto& code : codes) ASSERT_FALSE(complete.at(code).empty()) << code;

    std::mt19937 random(kSeed);
    // The program's start-up is about a sixth of a run; now and then the kill comes after the end.
    std::uniform_real_distribution<double> moment(0.1, 1.05);
    const int trials = FullSweep() ? 50 : 12;
    int midRun = 0, beforeFirst = 0, afterLast = 0;
    Tally tally;
    // A busy machine runs faster or slower than the timed run: a kill that came after the end shortens the
    // expected run, and trials go on (up to twice as many) until half of the planned ones hit the run.
    int trial = 1;
    for (; (trial <= trials || midRun < trials / 2) && trial <= 2 * trials && !HasFailure(); ++trial) {
        FreshTrialFile();
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(whole * moment(random));
        AgganciProcess run(MassCommand(), dir);
        std::this_thread::sleep_for(delay);
        const bool killed = run.Kill();
        const std::string where = "trial " + std::to_string(trial) + " (killed after " +
                                  std::to_string(delay.count() / 1000) + " ms)";

        const Found found = Look();
        EXPECT_EQ(found.integrity, "ok") << where;
        EXPECT_EQ(found.orphans, std::vector<std::string>{}) << where;
        long created = 0;
        for (const auto& code : codes)
            created += Created(tally.Check({code, complete.at(code), found.articles.at(code), {}, {}, true}, where));
        tally.Case();
        if (!killed || created == kArticles) {
            ++afterLast;
            whole = std::min(whole, Clock::duration(delay));
        }
        else if (created == 0) ++beforeFirst;
        else ++midRun;

        RunToTheEnd("the run after " + where);
        const Found after = Look();
        EXPECT_EQ(after.integrity, "ok") << "after the run that followed " << where;
        for (const auto& code : codes)
            EXPECT_EQ(FootprintDifference(complete.at(code), after.articles.at(code)), "")
                << code << " after the run that followed " << where;
    }
    std::printf("[ summary  ] crash trials: %d runs killed at random (seed %u, whole run %lld ms): %d mid-run, %d "
                "before the first article, %d after the last; articles after the kill: %ld complete, %ld absent, "
                "%ld partial\n",
                trial - 1, kSeed,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(whole).count()), midRun,
                beforeFirst, afterLast, tally.Count(Outcome::Complete), tally.Count(Outcome::Absent),
                tally.Count(Outcome::Partial));
    RecordProperty("trials", trial - 1);
    RecordProperty("mid_run", midRun);
    // Trials that all missed the run would prove nothing.
    EXPECT_GE(midRun, trials / 2);
}

}  // namespace
