#pragma once
// How the generate and mass commands report a run: from the run's outcome, never from its log text.
// Exit status: 0 when every row or article asked for was created (or had its article already, or its new
// code named an article that existed already), 2 when the run went through but some were not created (each
// listed with its reason) or an error box was shown during it, 1 when nothing was done.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "generation/ProcessingLog.h"
#include "generation/RunOutcome.h"
#include "host/ScriptedMessageService.h"

namespace app {

// One entry per row or article: item, source, code, state, reason.
nlohmann::json OutcomeJson(const generation::RunOutcome& outcome);

// A run that did not start, or that an error stopped: exit 1 (130 when interrupted) with this one line on
// stderr. With --json the run's object, printed already, carries it as "error" (stdout holds one document).
struct RunNotDone : std::runtime_error {
    RunNotDone(const std::string& what, int code) : std::runtime_error(what), exitCode(code) {}
    int exitCode;
};

// Makes the company's log folder before a run (never for a dry run, which writes nothing): a missing folder
// would switch the log off, and the log is what the command prints. One that cannot be made switches it off
// all the same, and the report says so.
void MakeLogFolder(const entry::IClsGlobal& global);

// The error boxes shown from `first` on, one line each: "error in PROCEDURE: DESCRIPTION". The run goes on
// past an error box, so these are reported with the run, not instead of it.
std::vector<std::string> ErrorBoxesSince(const host::ScriptedMessageService& messages, std::size_t first);

// What the run walked, which decides when a new code that names an existing article is done: a link row records
// that article, and is done only once it did; a mass duplication records nothing, and the article is left as it
// is, so that running an interrupted command again does the rest and says nothing failed.
enum class RunItems { LinkRows, Articles };

// Prints the run: JSON (counts, articles, log lines, log file, the errors shown) or the processing log
// followed by one line per row that was not created, one per error shown and the counts on stderr. Sets the
// exit status; throws RunNotDone when the run did not start or an error stopped it.
void ReportRun(const generation::RunOutcome& outcome, const generation::ProcessingLog& log, bool json,
               nlohmann::json header, const std::vector<std::string>& errorsShown, RunItems items);

}  // namespace app
