#include "bench/BenchRun.h"

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "bench/ComponentDuplication.h"
#include "bench/PeakMemory.h"
#include "bench/ReferenceDuplication.h"
#include "db/Connection.h"
#include "erp/DemoBuilder.h"

namespace bench {
namespace {

constexpr long kCompany = 1;

std::string BenchCode(long n) {
    char code[16];
    std::snprintf(code, sizeof code, "BENCH-%06ld", n);
    return code;
}

std::string DatabasePath(const RunSettings& s) {
    return (std::filesystem::path(s.folder) / ("bench-" + std::to_string(s.databaseArticles) + ".db")).string();
}

void RemoveDatabase(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

db::ConnectionPtr Open(const std::string& connectionString) {
    auto c = db::Connection::Create();
    c->Open(connectionString);
    return c;
}

// The text the processing log keeps in memory for the whole run (the browser front end saves it from there).
long LogTextBytes(const generation::ProcessingLog& log) {
    long bytes = 0;
    for (const std::string& line : log.RigheAccumulate()) bytes += static_cast<long>(line.size());
    return bytes;
}

// Memory SQLite's page cache of a connection holds; it grows up to the configured cache size.
long PageCacheKb(db::Connection& c) {
    int used = 0, highwater = 0;
    sqlite3_db_status(SqliteHandle(c), SQLITE_DBSTATUS_CACHE_USED, &used, &highwater, 0);
    return used / 1024;
}

// Each method's block ends with the checkpoint of what it wrote, inside its own time. A commit that fills the
// write-ahead log copies it into the database file, whoever wrote it: without this, a block would pay for
// pages the other method wrote, by the luck of where the mark falls.
void CopyLogIntoDatabase(db::Connection& c) {
    const int rc = sqlite3_wal_checkpoint_v2(SqliteHandle(c), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    if (rc != SQLITE_OK) throw std::runtime_error(std::string("checkpoint: ") + sqlite3_errstr(rc));
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); }

// The time one method takes, gathered in pieces: wall time, and the processor time that tells work from
// waiting (for the disk, mostly): the process runs one thing at a time.
class Stopwatch {
public:
    explicit Stopwatch(Measure& m) : m_(m) {}
    void Start() {
        getrusage(RUSAGE_SELF, &before_);
        start_ = std::chrono::steady_clock::now();
    }
    void Stop() {
        m_.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        m_.userSeconds += Seconds(after.ru_utime) - Seconds(before_.ru_utime);
        m_.systemSeconds += Seconds(after.ru_stime) - Seconds(before_.ru_stime);
    }

private:
    Measure& m_;
    rusage before_{};
    std::chrono::steady_clock::time_point start_;
};

double BuildDatabase(const std::string& connectionString, long articles) {
    const auto start = std::chrono::steady_clock::now();
    auto c = Open(connectionString);
    erp::BuildDemoDatabase(*c, erp::DemoOptions{kCompany, articles});
    c->Close();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both methods over the same sources, taking turns of `block` articles, with the memory they take. The
// component's articles go through mass runs of `runArticles` each (all of them by default: a user's run of
// 1,000 articles is one run, its selection and log paid once); a run pauses between two articles for the
// reference's turn, whose time is the reference's own. The reference opens and closes its log run with the
// component's runs.
void TimeBothMethods(const RunSettings& s, const std::string& connectionString, SizeResult& result) {
    auto componentConnection = Open(connectionString);
    auto referenceConnection = Open(connectionString);
    ComponentDuplicator component(componentConnection, connectionString, kCompany, s.folder);
    ReferenceDuplicator reference(referenceConnection, kCompany);
    auto pageCaches = [&] { return PageCacheKb(*componentConnection) + PageCacheKb(*referenceConnection); };
    PeakWatch watch;
    long halfLogBytes = 0, halfCacheKb = 0;
    result.block = s.block;
    const long runArticles = s.runArticles > 0 ? std::min(s.runArticles, s.duplicated) : s.duplicated;
    result.runArticles = runArticles;
    Stopwatch componentClock(result.component), referenceClock(result.reference);
    for (long runFirst = 1; runFirst <= s.duplicated; runFirst += runArticles) {
        const long runLast = std::min(s.duplicated, runFirst + runArticles - 1);
        long turnFirst = runFirst;
        // The reference's turn over the articles the component has just done, from turnFirst to `last`.
        auto referenceTurn = [&](long last) {
            // Each method's turn ends with the checkpoint of what it wrote, inside its own time.
            CopyLogIntoDatabase(*componentConnection);
            componentClock.Stop();
            for (long n = turnFirst; n <= last; ++n) {
                referenceClock.Start();
                if (n == runFirst) reference.OpenRun();
                reference.DuplicateOneArticle(BenchCode(n), "R-" + BenchCode(n));
                if (n == runLast) reference.CloseRun();
                if (n == last) CopyLogIntoDatabase(*referenceConnection);
                referenceClock.Stop();
                ++result.reference.articles;
            }
            if (turnFirst <= s.duplicated / 2 && last >= s.duplicated / 2) {
                result.halfGrowthKb = watch.GrowthKb();
                halfLogBytes = LogTextBytes(component.RunLog());
                halfCacheKb = pageCaches();
                result.lateArticles = s.duplicated - last;
            }
            turnFirst = last + 1;
        };
        // A failure of the reference's turn is the benchmark's, not the run's: kept until the run returns.
        std::exception_ptr turnFailure;
        component.OnArticleDone([&](long done) {
            const long n = runFirst + done - 1;
            if (turnFailure || done % s.block != 0 || n >= runLast) return;  // the last turn comes after the run
            try {
                referenceTurn(n);
            } catch (...) {
                turnFailure = std::current_exception();
            }
            componentClock.Start();
        });
        componentClock.Start();
        const long created = component.MassRun(BenchCode(runFirst), BenchCode(runLast), "C-");
        if (turnFailure) std::rethrow_exception(turnFailure);
        const long articles = runLast - runFirst + 1;
        if (created < articles && result.firstFailure.empty()) result.firstFailure = component.LastError();
        result.component.articles += articles;
        result.component.failures += articles - created;
        referenceTurn(runLast);
        component.OnArticleDone(nullptr);
    }
    result.growthKb = watch.GrowthKb();
    result.lateLogKb = (LogTextBytes(component.RunLog()) - halfLogBytes) / 1024;
    result.lateCacheKb = pageCaches() - halfCacheKb;
}

void MeasureMassRuns(const RunSettings& s, const std::string& connectionString, long articles, int index,
                     SizeResult& result) {
    const std::string prefix = "M" + std::to_string(index) + "-";
    auto peakDuring = [&](const std::function<long(ComponentDuplicator&)>& run) {
        auto c = Open(connectionString);
        ComponentDuplicator component(c, connectionString, kCompany, s.folder);
        PeakWatch watch;
        const long done = run(component);
        if (done < articles && result.firstFailure.empty()) result.firstFailure = component.LastError();
        return watch.StartKb() + watch.GrowthKb();
    };
    MassMemory m;
    m.articles = articles;
    m.dryRunPeakKb = peakDuring([&](ComponentDuplicator& d) { return d.DryRun(BenchCode(1), BenchCode(articles), prefix); });
    m.runPeakKb = peakDuring([&](ComponentDuplicator& d) { return d.MassRun(BenchCode(1), BenchCode(articles), prefix); });
    result.massRuns.push_back(m);
}

// A few more articles through the component with every statement recorded, then the plan of each.
void CheckStatements(const RunSettings& s, const std::string& connectionString, SizeResult& result) {
    auto c = Open(connectionString);
    ComponentDuplicator component(c, connectionString, kCompany, s.folder);
    StatementRecorder recorder(*c);
    component.MassRun(BenchCode(1), BenchCode(s.planArticles), "P-");
    result.statementsPerArticle = recorder.Statements() / s.planArticles;
    recorder.Stop();
    result.plans = CheckPlans(*c, recorder);
}

}  // namespace

SizeResult RunSize(const RunSettings& s) {
    SizeResult result;
    result.databaseArticles = s.databaseArticles;
    const std::string path = DatabasePath(s);
    const std::string connectionString = "sqlite:" + path;
    RemoveDatabase(path);
    result.buildSeconds = BuildDatabase(connectionString, s.databaseArticles);
    TimeBothMethods(s, connectionString, result);
    if (s.planArticles > 0) CheckStatements(s, connectionString, result);
    int index = 0;
    for (long articles : s.massRunArticles)
        if (articles <= s.databaseArticles) MeasureMassRuns(s, connectionString, articles, ++index, result);
    if (!s.keepDatabase) RemoveDatabase(path);
    return result;
}

}  // namespace bench
