#pragma once
// How the generate and mass commands report a run: from the run's outcome, never from its log text.
// Exit status: 0 when every row or article asked for was created (or had its article already), 2 when the
// run went through but some were not created (each listed with its reason), 1 when nothing was done.
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "generation/ProcessingLog.h"
#include "generation/RunOutcome.h"

namespace app {

// One entry per row or article: item, source, code, state, reason.
nlohmann::json OutcomeJson(const generation::RunOutcome& outcome);

// A run that did not start, or that an error stopped: exit 1 (130 when interrupted) with this one line on
// stderr. With --json the run's object, printed already, carries it as "error" (stdout holds one document).
struct RunNotDone : std::runtime_error {
    RunNotDone(const std::string& what, int code) : std::runtime_error(what), exitCode(code) {}
    int exitCode;
};

// Prints the run: JSON (counts, articles, log lines, log file) or the processing log followed by one line per
// row that was not created and the counts on stderr. Sets the exit status; throws RunNotDone when the run did
// not start or an error stopped it.
void ReportRun(const generation::RunOutcome& outcome, const generation::ProcessingLog& log, bool json,
               nlohmann::json header);

}  // namespace app
