#include "bench/Report.h"

#include <fmt/format.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace bench {
namespace {

const std::string kBegin = "<!-- agganci_bench: begin (written by the benchmark) -->";
const std::string kEnd = "<!-- agganci_bench: end -->";

std::string Machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, model = "unknown CPU";
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    return fmt::format("{}, {} hardware threads", model, std::thread::hardware_concurrency());
}

std::string Mark(bool met) { return met ? "met" : "**missed**"; }

// The shapes that read a company table without an index; temporary tables are the caller's own lists.
std::vector<const TableScan*> CompanyScans(const PlanCheck& plans) {
    std::vector<const TableScan*> scans;
    for (const auto& s : plans.scans)
        if (!s.temporary) scans.push_back(&s);
    return scans;
}

}  // namespace

long UnexplainedLateGrowthKb(const SizeResult& r) {
    return r.growthKb - r.halfGrowthKb - std::max(0L, r.lateCacheKb) - 2 * r.lateLogKb;
}

Verdict Judge(const std::vector<SizeResult>& results, const Targets& t) {
    Verdict v;
    if (results.empty()) return v;
    for (const auto& r : results) {
        if (r.component.MillisecondsPerArticle() > t.maxRatio * r.reference.MillisecondsPerArticle()) v.ratio = false;
        if (UnexplainedLateGrowthKb(r) > t.lateMemoryAllowanceKb) v.memory = false;
        if (!CompanyScans(r.plans).empty()) v.plans = false;
        if (r.component.failures > 0 || r.reference.failures > 0) v.complete = false;
        if (r.component.PerSecond() < t.minRate) v.rate = false;
        if (r.massRuns.size() >= 2) {
            const auto& small = r.massRuns.front();
            const auto& large = r.massRuns.back();
            if (large.dryRunPeakKb > t.maxMassMemoryGrowth * small.dryRunPeakKb ||
                large.runPeakKb > t.maxMassMemoryGrowth * small.runPeakKb)
                v.massMemory = false;
        }
    }
    const double first = results.front().component.MillisecondsPerArticle();
    for (const auto& r : results)
        if (r.component.MillisecondsPerArticle() > t.maxCostGrowth * first) v.flat = false;
    return v;
}

std::string FormatReport(const std::vector<SizeResult>& results, const Targets& t, const Verdict& v,
                         const std::string& command, long peakRssKb) {
    std::ostringstream out;
    out << "Command: `" << command << "`  \n";
    out << "Machine: " << Machine() << "  \n";
    if (!results.empty()) {
        const SizeResult& first = results.front();
        const bool oneRun = first.runArticles >= first.component.articles;
        out << "Each size: " << first.component.articles
            << " articles duplicated by each method, on a connection each, taking turns of " << first.block
            << " articles: " << (oneRun ? std::string("one mass run of the component over all of them")
                                        : "mass runs of the component of " + std::to_string(first.runArticles) +
                                              " articles")
            << ", paused between two articles for the reference's turn; database file in a temporary folder. "
               "Memory: peak resident growth of the process during the run of both methods.\n\n";
    }

    out << "| articles in database | build (s) | component (art/s) | component (ms/art) | reference (art/s) | "
           "reference (ms/art) | ratio | peak memory growth: first half / whole run (kB) | second half: page caches "
           "/ log text kept (kB) |\n";
    out << "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& r : results) {
        const double ratio = r.reference.seconds > 0 ? r.component.seconds / r.reference.seconds : 0;
        out << fmt::format("| {} | {:.1f} | {:.0f} | {:.2f} | {:.0f} | {:.2f} | {:.2f} | {} / {} | {} / {} |\n",
                           r.databaseArticles, r.buildSeconds, r.component.PerSecond(),
                           r.component.MillisecondsPerArticle(), r.reference.PerSecond(),
                           r.reference.MillisecondsPerArticle(), ratio, r.halfGrowthKb, r.growthKb, r.lateCacheKb,
                           r.lateLogKb);
    }
    out << "\nProcessor time of the process while each method ran (user + system), per article: what is not "
           "processor time is waiting, mostly for the disk.\n\n";
    out << "| articles in database | component (ms/art) | of which system | reference (ms/art) | of which system | "
           "ratio |\n|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& r : results) {
        const double component = r.component.ProcessorMillisecondsPerArticle();
        const double reference = r.reference.ProcessorMillisecondsPerArticle();
        auto system = [](const Measure& m) { return m.articles > 0 ? 1000 * m.systemSeconds / m.articles : 0; };
        out << fmt::format("| {} | {:.2f} | {:.2f} | {:.2f} | {:.2f} | {:.2f} |\n", r.databaseArticles, component,
                           system(r.component), reference, system(r.reference),
                           reference > 0 ? component / reference : 0);
    }
    for (const auto& r : results) {
        if (r.massRuns.empty()) continue;
        out << fmt::format("\nWhole mass runs (selection included) on the database of {} articles, peak resident "
                           "memory of the process while each ran:\n\n",
                           r.databaseArticles);
        out << "| articles in the run | dry run (kB) | run (kB) |\n|---:|---:|---:|\n";
        for (const auto& m : r.massRuns)
            out << fmt::format("| {} | {} | {} |\n", m.articles, m.dryRunPeakKb, m.runPeakKb);
    }
    out << "\nPeak resident memory of the whole benchmark (ru_maxrss, database builds included): " << peakRssKb
        << " kB.\n\n";

    out << "Targets:\n\n";
    out << fmt::format("- component within {:.1f}x of the reference at every size: {}\n", t.maxRatio, Mark(v.ratio));
    out << fmt::format("- component at least {:.0f} articles per second at every size: {}\n", t.minRate, Mark(v.rate));
    const bool massMeasured =
        std::any_of(results.begin(), results.end(), [](const SizeResult& r) { return r.massRuns.size() >= 2; });
    if (massMeasured)
        out << fmt::format("- peak memory of the largest whole mass run within {:.1f}x of the smallest's, dry run "
                           "and real run: {}\n",
                           t.maxMassMemoryGrowth, Mark(v.massMemory));
    if (!results.empty()) {
        const double first = results.front().component.MillisecondsPerArticle();
        const double last = results.back().component.MillisecondsPerArticle();
        out << fmt::format("- per-article cost flat within {:.0f}% from {} to {} articles ({:+.1f}%): {}\n",
                           100 * (t.maxCostGrowth - 1), results.front().databaseArticles,
                           results.back().databaseArticles, first > 0 ? 100 * (last / first - 1) : 0.0, Mark(v.flat));
    }
    out << fmt::format("- peak memory independent of the articles in the run: over the second half of a run the peak "
                       "grows by no more than the processing log keeps (its lines stay in memory for the whole run, by "
                       "design; counted twice their text) and the page caches take on their way to their size, plus "
                       "{} kB: {}",
                       t.lateMemoryAllowanceKb, Mark(v.memory));
    for (const auto& r : results) out << fmt::format(" {} kB beyond them at {};", UnexplainedLateGrowthKb(r), r.databaseArticles);
    out << "\n";
    const bool planned = std::any_of(results.begin(), results.end(), [](const SizeResult& r) { return r.plans.shapes > 0; });
    out << "- every statement of the component reads company tables through an index (EXPLAIN QUERY PLAN of each "
           "statement shape): "
        << (planned ? Mark(v.plans) : std::string("not checked (--plan-articles 0)")) << "\n";
    out << "- every article duplicated: " << Mark(v.complete) << "\n";

    for (const auto& r : results) {
        out << fmt::format("\nStatements at {} articles: {} per article, {} shapes planned", r.databaseArticles,
                           r.statementsPerArticle, r.plans.shapes);
        if (!r.plans.unplanned.empty()) out << ", " << r.plans.unplanned.size() << " no longer preparable";
        out << ".";
        for (const auto* s : CompanyScans(r.plans))
            out << fmt::format("\n- `{}` in `{}` ({} runs, {} rows stepped in full scans)", s->planLine, s->shape,
                               s->executions, s->fullScanSteps);
        out << "\n";
        if (!r.firstFailure.empty()) out << "First failed article: " << r.firstFailure << "\n";
    }
    return out.str();
}

void WriteIntoDocument(const std::string& path, const std::string& report) {
    std::string text;
    {
        std::ifstream in(path);
        std::stringstream buffer;
        buffer << in.rdbuf();
        text = buffer.str();
    }
    const std::string section = kBegin + "\n" + report + kEnd;
    const auto begin = text.find(kBegin);
    const auto end = text.find(kEnd);
    if (begin != std::string::npos && end != std::string::npos && end > begin) {
        text.replace(begin, end + kEnd.size() - begin, section);
    } else {
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += "\n" + section + "\n";
    }
    std::ofstream out(path, std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace bench
