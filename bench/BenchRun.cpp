#include "bench/BenchRun.h"

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Times one call over `articles` articles, adding it to `m`; the call returns the articles it created. The
// processor time tells work from waiting (for the disk, mostly): the process runs one thing at a time.
void Timed(Measure& m, long articles, const std::function<long()>& run) {
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    const long created = run();
    m.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    getrusage(RUSAGE_SELF, &after);
    m.userSeconds += Seconds(after.ru_utime) - Seconds(before.ru_utime);
    m.systemSeconds += Seconds(after.ru_stime) - Seconds(before.ru_stime);
    m.articles += articles;
    m.failures += articles - created;
}

double BuildDatabase(const std::string& connectionString, long articles) {
    const auto start = std::chrono::steady_clock::now();
    auto c = Open(connectionString);
    erp::BuildDemoDatabase(*c, erp::DemoOptions{kCompany, articles});
    c->Close();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both methods over the same sources, in alternating blocks, with the memory they take.
void TimeBothMethods(const RunSettings& s, const std::string& connectionString, SizeResult& result) {
    auto componentConnection = Open(connectionString);
    auto referenceConnection = Open(connectionString);
    ComponentDuplicator component(componentConnection, connectionString, kCompany, s.folder);
    ReferenceDuplicator reference(referenceConnection, kCompany);
    auto pageCaches = [&] { return PageCacheKb(*componentConnection) + PageCacheKb(*referenceConnection); };
    PeakWatch watch;
    long halfLogBytes = 0, halfCacheKb = 0;
    result.block = s.block;
    for (long first = 1; first <= s.duplicated; first += s.block) {
        const long last = std::min(s.duplicated, first + s.block - 1);
        Timed(result.component, last - first + 1, [&] {
            const long created = component.MassRun(BenchCode(first), BenchCode(last), "C-");
            if (created < last - first + 1 && result.firstFailure.empty()) result.firstFailure = component.LastError();
            CopyLogIntoDatabase(*componentConnection);
            return created;
        });
        for (long n = first; n <= last; ++n) {
            Timed(result.reference, 1, [&] {
                if (n == first) reference.OpenRun();
                reference.DuplicateOneArticle(BenchCode(n), "R-" + BenchCode(n));
                if (n == last) {
                    reference.CloseRun();
                    CopyLogIntoDatabase(*referenceConnection);
                }
                return 1L;
            });
        }
        if (first <= s.duplicated / 2 && last >= s.duplicated / 2) {
            result.halfGrowthKb = watch.GrowthKb();
            halfLogBytes = LogTextBytes(component.RunLog());
            halfCacheKb = pageCaches();
            result.lateArticles = s.duplicated - last;
        }
    }
    result.growthKb = watch.GrowthKb();
    result.lateLogKb = (LogTextBytes(component.RunLog()) - halfLogBytes) / 1024;
    result.lateCacheKb = pageCaches() - halfCacheKb;
}

// Whole mass runs over the first `articles` articles, a dry run and a real one, each on a connection of its
// own: the peak resident memory of the process while each runs.
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
