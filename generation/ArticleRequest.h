#pragma once
// What one article needs to be created: where it comes from, its code, the data that complete it and how
// it is copied. The links tab, the mass tab, the command line and the benchmark fill it; the per-article
// routine (CreaArticolo) reads nothing else.
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "db/Recordset.h"
#include "engine/EngineEvents.h"
#include "generation/Completion.h"
#include "generation/FabricSubstitution.h"

namespace generation {

// Which tab's rules the article follows: a link row (variants from the model plus the fabric's colour,
// the link fabric in the bill) or the mass tab (the article's own variants, the mass parameters).
enum class ArticleOrigin { LinkRow, MassTab };

struct ArticleOptions {
    bool complete = true;             // completion and bill update after the copy (a plain duplicate: false)
    bool everyStepFatal = false;      // a failing non-fatal engine step fails the article too
    std::set<std::string> skipSteps;  // engine operations left out (by name)
    std::set<int> groupsOff;          // groups of the stored procedure left out (KvEnumDatiDaDuplicare)
};

struct ArticleRequest {
    std::string source;   // the article copied
    std::string newCode;  // the code of the new article
    ArticleOrigin origin = ArticleOrigin::LinkRow;
    std::string fabric;              // the link fabric (links tab)
    RigaAggancio row;                // the link row's data (links tab)
    ParametriMassivi parameters;     // the mass tab's parameters
    std::string description;         // of the new article; required for a link row
    // None given: the new article keeps the source's (the mass tab's box left empty: GivenOrNone).
    std::optional<std::string> extendedDescription;
    TessutoPrincipale mainFabric;    // the model's main fabric, replaced in the bill (links tab)
    db::RecordsetPtr variantSelection;  // the user's variant choices; null when not configured
    long selectionSize = -1;         // articles in the mass run (1: single-article mode); -1 none
    // The caller has just found the new code free (and logged it its own way when it was not): the
    // routine does not ask again. The copy's own insert still refuses a code taken in between.
    bool codeCheckedFree = false;
    ArticleOptions options;
    // A caller's own subscriber to the engine's events for this article (besides the routine's own).
    std::shared_ptr<engine::CLSFA_DUPLICA_Events> events;
};

// A box's text where an empty box means that none is given.
inline std::optional<std::string> GivenOrNone(const std::string& text) {
    if (db::RTrim(text).empty()) return std::nullopt;
    return text;
}

}  // namespace generation
