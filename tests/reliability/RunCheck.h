#pragma once
// The checks every sweep makes after a run, on each article the run was to create, and the tally of
// what the cases left, printed as one summary line and recorded as test properties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ArticleFootprint.h"
#include "Sampling.h"
#include "Verdict.h"

namespace reliability {

inline const std::string kNonGenerato = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";

inline std::string Creato(const std::string& code) { return "Articolo :  " + code + " Creato "; }

// The lines logged for one article, from its start line to its end line; empty when the run never got
// there or never finished it.
inline std::vector<std::string> Block(const std::vector<std::string>& lines, const std::string& start,
                                      const std::string& end) {
    const auto first = std::find(lines.begin(), lines.end(), start);
    if (first == lines.end()) return {};
    const auto last = std::find(first, lines.end(), end);
    if (last == lines.end()) return {};
    return {first, last + 1};
}

inline bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// One article after a run: complete (but for a gap the user was told of) or absent, never a part; the
// log's block for it present (the run got there and went past it) and saying which.
struct ArticleAfterRun {
    std::string code;
    Footprint complete;  // as a run without faults leaves it; empty when that run did not make it either
    Footprint found;
    std::vector<std::string> block;
    std::vector<Gap> gaps;    // the design's gaps the user was told of in this case
    bool runMayStop = false;  // the error box was answered Abort
};

class Tally {
public:
    // Judges the article; a partial article, a missing block or a log that says the opposite fail the
    // test with `where` (the case) in the message.
    Outcome Check(const ArticleAfterRun& a, const std::string& where) {
        const Verdict v = Judge(a.complete, a.found, a.gaps);
        ++outcomes_[v.outcome];
        if (v.outcome == Outcome::CompleteButFor) ++gaps_[v.detail];
        EXPECT_NE(v.outcome, Outcome::Partial) << a.code << " left in part at " << where << ": " << v.detail;
        if (a.block.empty()) {
            // Only a run that the user stopped may leave an article without its block; the log then cannot
            // say what became of it, the database alone does.
            EXPECT_TRUE(a.runMayStop) << "the run did not go past " << a.code << " at " << where;
            return v.outcome;
        }
        if (Created(v.outcome) && !a.complete.empty()) {
            EXPECT_TRUE(Has(a.block, Creato(a.code))) << a.code << " created, log silent, at " << where;
        }
        if (v.outcome == Outcome::Absent) {
            EXPECT_TRUE(Has(a.block, kNonGenerato)) << a.code << " absent, log silent, at " << where;
        }
        return v.outcome;
    }
    void Case() { ++cases_; }
    long Count(Outcome o) const { return outcomes_.count(o) ? outcomes_.at(o) : 0; }

    // "generation failure sweep: 98 of 301 statements failed (sampled), 104 cases; articles: 41 complete,
    // 3 complete but for a gap (3 season history), 249 absent, 0 partial"; `done` says what happened at
    // each ("failed", "crashed before").
    void Report(const std::string& name, const std::string& done, long statements, long failed) const {
        std::string gaps;
        for (const auto& [reason, n] : gaps_) gaps += (gaps.empty() ? "" : ", ") + std::to_string(n) + " " + reason;
        std::printf("[ summary  ] %s: %ld of %ld statements %s%s, %ld cases; articles: %ld complete, %ld complete but "
                    "for a gap (%s), %ld absent, %ld partial\n",
                    name.c_str(), failed, statements, done.c_str(), FullSweep() ? " (full sweep)" : " (sampled)",
                    cases_, Count(Outcome::Complete), Count(Outcome::CompleteButFor), gaps.c_str(),
                    Count(Outcome::Absent), Count(Outcome::Partial));
        for (const auto& [key, value] : {std::pair{"statements", statements}, {"failed", failed}, {"cases", cases_},
                                         {"partial", Count(Outcome::Partial)}})
            ::testing::Test::RecordProperty(key, static_cast<int>(value));
    }

private:
    long cases_ = 0;
    std::map<Outcome, long> outcomes_;
    std::map<std::string, long> gaps_;
};

}  // namespace reliability
