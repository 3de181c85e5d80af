#include "apps/agganci/RunReport.h"

#include <filesystem>
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

// An article that existed already, left as it is (on a link row: recorded instead of created): done, counted apart.
bool AlreadyExisted(const generation::ArticleOutcome& a, RunItems items) {
    return a.state == ArticleState::AlreadyExists && (items == RunItems::Articles || a.recorded);
}

// Not created although asked for: an article that exists counts as done only as AlreadyExisted says.
bool Failed(const generation::ArticleOutcome& a, RunItems items) {
    return a.state == ArticleState::NotGenerated || a.state == ArticleState::CodeTooLong ||
           (a.state == ArticleState::AlreadyExists && !AlreadyExisted(a, items));
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

void MakeLogFolder(const entry::IClsGlobal& global) {
    std::error_code ignored;  // reported with the run: the log is then switched off, and the report says so
    std::filesystem::create_directories(generation::CartellaDeiLog(global), ignored);
}

std::vector<std::string> ErrorBoxesSince(const host::ScriptedMessageService& messages, std::size_t first) {
    std::vector<std::string> errors;
    for (std::size_t i = first; i < messages.ErrorBoxes().size(); ++i) {
        const auto& e = messages.ErrorBoxes()[i];
        errors.push_back("error in " + e.procedure + ": " + OneLine(e.description));
    }
    return errors;
}

void ReportRun(const generation::RunOutcome& outcome, const generation::ProcessingLog& log, bool json,
               nlohmann::json header, const std::vector<std::string>& errorsShown, RunItems items) {
    long failed = 0;
    long alreadyExisted = 0;
    for (const auto& a : outcome.articles) {
        failed += Failed(a, items) ? 1 : 0;
        alreadyExisted += AlreadyExisted(a, items) ? 1 : 0;
    }
    const long created = outcome.Count(ArticleState::Created);
    const std::string error = RunError(outcome);
    const int errorCode = outcome.interrupted ? 130 : 1;  // as a shell reports a program stopped by Ctrl-C
    if (json) {
        header["created"] = created;
        header["notCreated"] = failed;
        header["alreadyExisted"] = alreadyExisted;
        header["completed"] = outcome.completed;
        header["articles"] = OutcomeJson(outcome);
        header["log"] = log.RigheAccumulate();
        header["logFile"] = log.LogDisabilitato() ? std::string() : log.FileLog();
        if (!outcome.stopReason.empty()) header["stopReason"] = outcome.stopReason;
        if (!errorsShown.empty()) header["errors"] = errorsShown;
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
            if (Failed(a, items))
                std::cerr << "not created: " << a.item << " -> " << a.newCode << ": " << OneLine(a.reason) << "\n";
        // Named one by one: an article made by an earlier run and another that merely has the code look alike here.
        for (const auto& a : outcome.articles)
            if (AlreadyExisted(a, items)) std::cerr << "already existed: " << a.item << " -> " << a.newCode << "\n";
        for (const auto& e : errorsShown) std::cerr << e << "\n";
    }
    // An interrupted run tells how far it got. Rows that already had their article, or whose code existed and
    // was recorded, and articles whose new code existed are counted apart: a second run creates nothing and
    // says why.
    const auto apart = [](long n, const char* what) { return n > 0 ? ", " + std::to_string(n) + what : std::string(); };
    if (!json && (error.empty() || outcome.interrupted))
        std::cerr << created << " created, " << failed << " not created"
                  << apart(outcome.Count(ArticleState::AlreadyGenerated), " already generated")
                  << apart(alreadyExisted, " already existed") << "\n";
    if (!error.empty()) throw RunNotDone(error, errorCode);
    // An error box does not stop the run, but what it was about may be left undone (an article without its
    // season history, say): the run went through without doing everything.
    SetExitCode(failed > 0 || !errorsShown.empty() ? 2 : 0);
}

}  // namespace app
