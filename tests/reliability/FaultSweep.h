#pragma once
// The sweeps over a whole run, shared by the generation and the mass run. A run without faults tells what
// a complete article is and how many statements the run has; then, on a fresh copy of the company each
// time, something happens at statement n, for the statements Sampling.h chooses.
//
// FailureSweep: statement n fails. Every article the run was to create is then complete or wholly
// absent, the log's block for it says which, the run got past it to its end, no row is left orphaned and
// the file passes its integrity check. The error box is answered Retry, as a person does after a passing
// failure: the fault fires once, so the retried statement succeeds and the run has no reason to stop.
// The statements whose failure reached the run's own error box are then failed once more with the answer
// Abort: the run stops there, and still leaves no part of an article and a closed log.
//
// CrashSweep: the program dies just before statement n, with no clean-up of any kind (the run goes on
// in a child process that ends itself there). The file the next program opens passes its integrity
// check and holds each article complete or not at all; the same run then makes the rest.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CompanyFile.h"
#include "GenerationFixture.h"
#include "RunCheck.h"
#include "Sampling.h"
#include "StatementTrace.h"
#include "TestRunPort.h"

namespace reliability {

// An article a run is to create, and the log lines that open and close the run's block for it.
struct SweepTarget {
    std::string code;
    std::string start;
    std::string end;
};

class FaultSweep : public testsupport::GenerationFixture {
protected:
    static constexpr long kAnnulla = 3;  // the error box's Abort
    static constexpr long kRiprova = 4;  // the error box's Retry

    void SetUp() override {
        GenerationFixture::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        company = std::make_unique<CompanyFile>(std::string(info->test_suite_name()) + "-" + info->name(), Company());
    }

    // The demo company the sweep runs on.
    virtual erp::DemoOptions Company() const { return {}; }
    // On the fresh copy (conn, program, contesto and form set): whatever the user does before the run.
    virtual void Prepare() = 0;
    // The user's click that starts the run.
    virtual void Click() = 0;
    // The name under which the run's own error box reports.
    virtual std::string RunProcedure() const = 0;
    virtual std::vector<SweepTarget> Targets() = 0;

    void FailureSweep(const std::string& name, long stride) {
        const Reference ref = RunWithoutFaults();
        Tally tally;
        std::set<long> stopping;  // failures that reached the run's own error box
        const std::set<long> chosen = ChosenStatements(ref.texts, ref.total, stride);
        for (const long n : chosen) {
            FailureCase(ref, n, kRiprova, tally);
            if (Reported(RunProcedure())) stopping.insert(n);
            if (HasFailure()) break;
        }
        for (const long n : stopping) {
            FailureCase(ref, n, kAnnulla, tally);
            if (HasFailure()) break;
        }
        tally.Report(name, "failed", ref.total, static_cast<long>(chosen.size()));
        std::printf("[ summary  ] %s: %zu failures reached the run's error box and were answered Abort too\n",
                    name.c_str(), stopping.size());
        ::testing::Test::RecordProperty("aborted", static_cast<int>(stopping.size()));
    }

    void CrashSweep(const std::string& name, long stride) {
        const Reference ref = RunWithoutFaults();
        Tally tally;
        const std::set<long> chosen = ChosenStatements(ref.texts, ref.total, stride, true);
        for (const long n : chosen) {
            CrashCase(ref, n, tally);
            if (HasFailure()) break;
        }
        tally.Report(name, "crashed before", ref.total, static_cast<long>(chosen.size()));
    }

    // One case of each kind, at the first statement of the run whose text holds `fragment`.
    void FailureAt(const std::string& fragment) {
        const Reference ref = RunWithoutFaults();
        Tally tally;
        FailureCase(ref, FirstMatching(ref, fragment), kRiprova, tally);
    }
    void CrashAt(const std::string& fragment) {
        const Reference ref = RunWithoutFaults();
        Tally tally;
        CrashCase(ref, FirstMatching(ref, fragment), tally);
    }

    bool Reported(const std::string& procedure) {
        for (const auto& box : shell->Messages()->ErrorBoxes())
            if (box.procedure == procedure) return true;
        return false;
    }

    std::unique_ptr<CompanyFile> company;
    std::unique_ptr<testsupport::TestRunPort> form;

private:
    struct Reference {
        std::vector<std::string> texts;  // as StatementTrace::Texts() gives them
        long total = 0;
        std::vector<SweepTarget> targets;
        std::vector<std::string> codes;
        std::map<std::string, Footprint> complete;
        std::string untouched;  // the company before the run
    };

    Reference RunWithoutFaults() {
        Reference ref;
        StartCase(kRiprova);
        ref.untouched = Snapshot();
        conn->Faults().ResetCount();
        {
            StatementTrace trace(conn);
            Click();
            ref.texts = trace.Texts();
        }
        ref.total = conn->Faults().StatementCount();
        ref.targets = Targets();
        for (const auto& t : ref.targets) ref.codes.push_back(t.code);
        ref.complete = Footprints(*conn, ref.codes);
        EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
        return ref;
    }

    // The previous case's objects let go of, so that its connection is closed before the file is
    // replaced: a connection closed later would remove the new file's write-ahead log with its own.
    void EndCase() {
        std::weak_ptr<db::Connection> last = conn;
        form.reset();
        contesto = {};
        program.reset();
        conn.reset();
        ASSERT_TRUE(last.expired()) << "something still holds the company connection";
    }

    void OpenCase(db::ConnectionPtr connection, long errorAnswer) {
        conn = std::move(connection);
        program = testsupport::ProgramOnDatabase(conn);
        contesto = {conn, db::Variant(1), program, shell->Messages()};
        shell->Messages()->ClearRecords();
        shell->Messages()->ErrorBoxAnswers().Clear();
        shell->Messages()->ErrorBoxAnswers().Always(errorAnswer);
        shell->Messages()->MessageAnswers().Clear();
        form = std::make_unique<testsupport::TestRunPort>(conn, program, shell->Messages());
        Prepare();
        conn->Faults().ResetCount();
    }

    void StartCase(long errorAnswer) {
        EndCase();
        OpenCase(company->OpenCopy(), errorAnswer);
    }

    static long FirstMatching(const Reference& ref, const std::string& fragment) {
        for (long n = 1; n <= ref.total; ++n)
            if (TextOf(ref.texts, n).find(fragment) != std::string::npos) return n;
        ADD_FAILURE() << "the run has no statement with " << fragment;
        return ref.total + 1;
    }

    static std::string Where(const Reference& ref, long n) {
        const std::string text = TextOf(ref.texts, n);
        return "statement " + std::to_string(n) + " (" + (text.empty() ? "no SQLite statement of its own" : text) + ")";
    }

    void FailureCase(const Reference& ref, long n, long errorAnswer, Tally& tally) {
        StartCase(errorAnswer);
        conn->Faults().FailNth(n);
        Click();
        const std::string where = Where(ref, n) + (errorAnswer == kAnnulla ? ", answered Abort" : "");
        ASSERT_GE(conn->Faults().StatementCount(), n) << where << " never ran";
        conn->Faults().Clear();
        tally.Case();
        const auto found = Footprints(*conn, ref.codes);
        const auto lines = form->RunLines();
        const bool stopped = errorAnswer == kAnnulla && Reported(RunProcedure());
        std::vector<Gap> gaps;
        if (Reported(kSeasonHistoryHandler)) gaps.push_back({"season history", {"FA25_STORICOSTAGIONI"}});
        if (stopped) gaps.push_back({"link not recorded", {"FA64_AGGANCIDET"}});
        bool allAbsent = true;
        for (const auto& t : ref.targets) {
            ArticleAfterRun a{t.code, ref.complete.at(t.code), found.at(t.code), Block(lines, t.start, t.end), gaps,
                              stopped};
            if (Has(a.block, kProductionError)) a.gaps.push_back(kProductionGap);
            allAbsent = tally.Check(a, where) == Outcome::Absent && allAbsent;
        }
        // Nothing at all is left when no article is: not a barcode number's row, not a link's code.
        if (allAbsent) {
            EXPECT_EQ(Snapshot(), ref.untouched) << where;
        }
        EXPECT_EQ(testsupport::OrphanRows(*conn), std::vector<std::string>{}) << where;
        const auto& all = form->AllLines();
        EXPECT_TRUE(all.size() >= 2 && all[all.size() - 2].rfind("Termine elaborazione : ", 0) == 0)
            << "log not closed at " << where;
        EXPECT_EQ(IntegrityCheck(*conn), "ok") << where;
    }

    void CrashCase(const Reference& ref, long n, Tally& tally) {
        constexpr int kCrashed = 57, kFinished = 58;
        const std::string where = "a crash before " + Where(ref, n);
        EndCase();
        company->OpenCopy()->Close();
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            OpenCase(CompanyFile::Open(company->CaseFile()), kRiprova);
            StatementTrace trace(conn);
            trace.beforeStatement = [n](long k) {
                if (k >= n) _exit(kCrashed);  // n itself may run no SQLite statement of its own
            };
            Click();
            _exit(kFinished);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kCrashed) << where << ": status " << status;
        tally.Case();

        // What the next program finds.
        OpenCase(CompanyFile::Open(company->CaseFile()), kRiprova);
        EXPECT_EQ(IntegrityCheck(*conn), "ok") << where;
        // The code is recorded on the link row after the article is made: a crash in between leaves the row
        // without it, and the next run records it (checked below).
        const std::vector<Gap> gaps{{"link not recorded", {"FA64_AGGANCIDET"}}};
        const auto found = Footprints(*conn, ref.codes);
        for (const auto& t : ref.targets)
            tally.Check({t.code, ref.complete.at(t.code), found.at(t.code), {}, gaps, true}, where);
        EXPECT_EQ(testsupport::OrphanRows(*conn), std::vector<std::string>{}) << where;

        // The same run again makes what the crash left undone.
        Click();
        const auto after = Footprints(*conn, ref.codes);
        for (const auto& t : ref.targets)
            EXPECT_EQ(FootprintDifference(ref.complete.at(t.code), after.at(t.code)), "")
                << t.code << " after the run that followed " << where;
        EXPECT_EQ(IntegrityCheck(*conn), "ok") << where << ", run again";
    }
};

}  // namespace reliability
