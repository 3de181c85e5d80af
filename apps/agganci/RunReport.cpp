#include "apps/agganci/RunReport.h"

#include <iostream>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"

namespace app {
namespace {

// A reason on one line of stderr: the engine's texts may end their first part with CR LF.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c != '\r' && c != '\n') line += c;
        else if (!line.empty() && line.back() != ' ') line += ' ';
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

using generation::ArticleState;

// Not created although asked for: an article that exists counts as done only when a link row recorded it.
bool Failed(const generation::ArticleOutcome& a) {
    return a.state == ArticleState::NotGenerated || a.state == ArticleState::CodeTooLong ||
           (a.state == ArticleState::AlreadyExists && !a.recorded);
}

// Why the run did nothing, or stopped; empty when it went through.
std::string RunError(const generation::RunOutcome& outcome) {
    if (!outcome.started) return "nothing done: " + outcome.stopReason;
    if (outcome.interrupted)
        return "the run stopped: " + outcome.stopReason + "; every article is whole or absent, run the command "
               "again for the rest";
    if (!outcome.completed && !outcome.stopReason.empty()) return "the run stopped: " + outcome.stopReason;
    return {};
}

}  // namespace

nlohmann::json OutcomeJson(const generation::RunOutcome& outcome) {
    nlohmann::json articles = nlohmann::json::array();
    for (const auto& a : outcome.articles)
        articles.push_back({{"item", a.item},
                            {"source", a.source},
                            {"code", a.newCode},
                            {"state", generation::StateName(a.state)},
                            {"reason", a.reason}});
    return articles;
}

void ReportRun(const generation::RunOutcome& outcome, const generation::ProcessingLog& log, bool json,
               nlohmann::json header) {
    long failed = 0;
    for (const auto& a : outcome.articles) failed += Failed(a) ? 1 : 0;
    const long created = outcome.Count(ArticleState::Created);
    const std::string error = RunError(outcome);
    const int errorCode = outcome.interrupted ? 130 : 1;  // as a shell reports a program stopped by Ctrl-C
    if (json) {
        header["created"] = created;
        header["notCreated"] = failed;
        header["completed"] = outcome.completed;
        header["articles"] = OutcomeJson(outcome);
        header["log"] = log.RigheAccumulate();
        header["logFile"] = log.LogDisabilitato() ? std::string() : log.FileLog();
        if (!outcome.stopReason.empty()) header["stopReason"] = outcome.stopReason;
        if (!error.empty()) {
            header["error"] = error;
            header["exitCode"] = errorCode;
        }
        std::cout << JsonText(header) << "\n";
    } else {
        for (const auto& l : log.RigheAccumulate()) std::cout << l << "\n";
        if (log.LogDisabilitato())
            std::cerr << "note: the processing log could not be written"
                      << (log.UltimoErrore() ? " (" + log.UltimoErrore()->Description() + ")" : std::string())
                      << "\n";
        for (const auto& a : outcome.articles)
            if (Failed(a))
                std::cerr << "not created: " << a.item << " -> " << a.newCode << ": " << OneLine(a.reason) << "\n";
    }
    // An interrupted run tells how far it got. Rows that already had their article are counted apart: a
    // second run of a generation creates nothing and says why.
    const long already = outcome.Count(ArticleState::AlreadyGenerated);
    if (!json && (error.empty() || outcome.interrupted))
        std::cerr << created << " created, " << failed << " not created"
                  << (already > 0 ? ", " + std::to_string(already) + " already generated" : std::string()) << "\n";
    if (!error.empty()) throw RunNotDone(error, errorCode);
    SetExitCode(failed > 0 ? 2 : 0);
}

}  // namespace app
