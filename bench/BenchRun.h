#pragma once
// One database size of the benchmark: build the database, duplicate the same articles through the
// component and through the set-based reference, each on a connection of its own, taking turns (so that a
// busy machine slows both alike), timing each and watching memory; then check the plans of the statements
// the component sends.
#include <string>
#include <vector>

#include "bench/StatementPlans.h"

namespace bench {

struct RunSettings {
    long databaseArticles = 1000;  // generated articles in the database
    long duplicated = 1000;        // articles duplicated by each method
    long planArticles = 5;         // articles duplicated under the statement recorder
    // Articles per turn of each method: the component's mass run pauses between two articles for the
    // reference's turn.
    long block = 100;
    // Articles per mass run of the component (selection, run log); 0: one run of all the duplicated articles,
    // as a user's run of 1,000 articles is one run.
    long runArticles = 0;
    std::vector<long> massRunArticles;  // whole mass runs (dry and real) whose peak memory is measured
    std::string folder;            // where the database file and the logs go
    bool keepDatabase = false;
};

struct Measure {
    long articles = 0;
    long failures = 0;
    double seconds = 0;
    double userSeconds = 0;    // processor time of the process meanwhile, in the program
    double systemSeconds = 0;  // and in the kernel on its behalf
    double PerSecond() const { return seconds > 0 ? articles / seconds : 0; }
    double MillisecondsPerArticle() const { return articles > 0 ? 1000 * seconds / articles : 0; }
    double ProcessorMillisecondsPerArticle() const {
        return articles > 0 ? 1000 * (userSeconds + systemSeconds) / articles : 0;
    }
};

// Peak resident memory of the process during a whole mass run (selection included) of `articles`.
struct MassMemory {
    long articles = 0;
    long dryRunPeakKb = 0;
    long runPeakKb = 0;
};

struct SizeResult {
    long databaseArticles = 0;
    double buildSeconds = 0;
    long block = 0;        // articles per turn of each method
    long runArticles = 0;  // articles per mass run of the component
    Measure component;
    Measure reference;
    long growthKb = 0;      // peak resident memory above the start of the run
    long halfGrowthKb = 0;  // the same after the first half of the run
    long lateArticles = 0;  // articles of the second half
    long lateLogKb = 0;     // text the processing log kept over the second half
    long lateCacheKb = 0;   // growth of SQLite's page caches over the second half (bounded by their size)
    PlanCheck plans;
    long statementsPerArticle = 0;  // statements the component ran per article, under the recorder
    std::vector<MassMemory> massRuns;
    std::string firstFailure;
};

SizeResult RunSize(const RunSettings& settings);

}  // namespace bench
