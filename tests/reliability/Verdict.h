#pragma once
// What a run left of each article it was to create: the whole article (its rows as in a run without
// faults), nothing at all, or a part - which is a fault of the product.
//
// A few gaps are the design's own, each after the user was told: an error in the handler that opens the
// season history ends the handler and the engine goes on (the error box names the handler), so the
// article lacks its FA25_STORICOSTAGIONI row; on the mass tab a failed copy of the production data is
// logged and the article made without it; a run the user stops with Abort after the article was made
// leaves its link row without the code, which the next run records. Such an article is "complete but for"
// the gap, and only when the user was told.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ArticleFootprint.h"

namespace reliability {

inline const std::string kSeasonHistoryHandler = "Pcls_DuplArticolo_AfterUpdateFA12";
inline const std::string kProductionError = "Errore in duplicazione dati di produzione \r\n";

enum class Outcome { Complete, CompleteButFor, Absent, Partial };

// Tables that may lack the article's rows, and why.
struct Gap {
    std::string reason;
    std::set<std::string> tables;
};

// The production data as one piece: the data, the formulas, the cycle and its phases.
inline const Gap kProductionGap{"production data",
                                {"PD18_ARTPROD", "PD27_ANAFORMULE", "PD52_ANAGCICLI", "PD53_CICLIFASI"}};

struct Verdict {
    Outcome outcome = Outcome::Partial;
    std::string detail;  // the gaps of an article complete but for them; the differing tables of a partial one
};

inline Verdict Judge(const Footprint& complete, const Footprint& found, const std::vector<Gap>& gaps) {
    if (found.empty()) return {Outcome::Absent, {}};
    if (found == complete) return {Outcome::Complete, {}};
    Footprint expected = complete;
    std::string reasons;
    for (const auto& gap : gaps) {
        const bool used = std::any_of(gap.tables.begin(), gap.tables.end(), [&](const std::string& table) {
            return expected.count(table) && !found.count(table);
        });
        if (!used) continue;
        // A gap is one piece: none of its tables may keep rows of the article then.
        for (const auto& table : gap.tables) expected.erase(table);
        reasons += (reasons.empty() ? "" : ", ") + gap.reason;
    }
    if (found == expected) return {Outcome::CompleteButFor, reasons};
    return {Outcome::Partial, FootprintDifference(complete, found)};
}

inline bool Created(Outcome o) { return o == Outcome::Complete || o == Outcome::CompleteButFor; }

}  // namespace reliability
