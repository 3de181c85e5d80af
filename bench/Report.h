#pragma once
// The benchmark's figures as text: a table per database size, the targets and whether each was met,
// the full scans found. The same text goes to the terminal and, between two markers, into a Markdown
// file (the hand-written parts of the file stay as they are).
#include <string>
#include <vector>

#include "bench/BenchRun.h"

namespace bench {

struct Targets {
    double maxRatio = 1.5;        // component time per article / reference time per article
    double maxCostGrowth = 1.25;  // per-article cost, largest database / smallest
    // Peak growth over the second half of a run: at most what the processing log keeps by design (its
    // lines, about twice their text as strings in a vector), what SQLite's page caches took on their way to
    // their configured size, and this much besides.
    long lateMemoryAllowanceKb = 256;
    double minRate = 600;             // component articles per second, at every size
    double maxMassMemoryGrowth = 1.3;  // peak memory of the largest whole mass run / the smallest
};

// Peak growth over the second half of the run beyond the processing log and the page caches, in kB.
long UnexplainedLateGrowthKb(const SizeResult& r);

struct Verdict {
    bool ratio = true, flat = true, memory = true, plans = true, complete = true, rate = true, massMemory = true;
    bool Deterministic() const { return plans && complete; }  // not subject to a busy machine's noise
};

Verdict Judge(const std::vector<SizeResult>& results, const Targets& targets);

// Markdown: the command, the machine, the table, the targets, the scans.
std::string FormatReport(const std::vector<SizeResult>& results, const Targets& targets, const Verdict& verdict,
                         const std::string& command, long peakRssKb);

// Replaces the part of `path` between the benchmark's markers with `report` (appends it when the file has
// no markers, creates the file when missing).
void WriteIntoDocument(const std::string& path, const std::string& report);

}  // namespace bench
