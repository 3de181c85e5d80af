#include "generation/RunLoop.h"

#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/RunStop.h"

namespace generation {

long RunLoop::Ask(const std::string& text, long style, const std::string& title) {
    const long answer = port_.Ask(text, style, title);
    outcome_.answers.emplace_back(text, answer);
    return answer;
}

bool RunLoop::Refuse(const std::string& reason) {
    outcome_.stopReason = reason;
    return false;
}

bool RunLoop::VariantsConfigured(const db::RecordsetPtr& selection) {
    if (selection || Ask(kMsgVariantiNonConfigurate, kStileSiNo, "") != entry::kAnswerNo) return true;
    return Refuse("no variant selection, and the user chose not to go on without one");
}

RunOutcome RunLoop::Run(const std::string& procedure, const std::vector<std::function<bool()>>& checks,
                        IRunItems& items) {
    auto messages = context_.messaggi;
    auto connection = context_.connessione;
    bool logOpen = false, progress = false;
    entry::Procedure run(procedure, entry::HandlerTable::B, entry::ErrorContext(&messages, &connection));
    for (const auto& check : checks) run.Step(check);
    run.Step([&] {
           max_ = items.Count();
           done_ = 0;
           progress = true;
           port_.ProgressStart(kCaptionProgresso, max_);
       })
        .Step([&] {
            port_.Log().ApriLog();
            logOpen = true;
            outcome_.started = true;
        })
        .Step([&] { items.First(); })
        .Step([&] { return outcome_.completed = Items(procedure, items); })
        .Cleanup([&] {
            if (!logOpen) return;
            logOpen = false;
            port_.Log().ChiudiLog();
            port_.ShowLogButton(true);
        })
        .Cleanup([&] {
            if (progress) port_.ProgressEnd();
        });
    run.Run();
    if (run.LeftOnError() && run.LastError() && outcome_.stopReason.empty())
        outcome_.stopReason = run.LastError()->Description();
    return std::move(outcome_);
}

bool RunLoop::Items(const std::string& procedure, IRunItems& items) {
    auto messages = context_.messaggi;
    auto connection = context_.connessione;
    // One outcome per item: sized once, so a run of many thousand items never holds two copies of them.
    if (max_ > 0) outcome_.articles.reserve(static_cast<std::size_t>(max_));
    while (!items.AtEnd()) {
        if (StopRequested()) {
            outcome_.interrupted = true;
            outcome_.stopReason = "interrupted after " + std::to_string(done_) + " of " + std::to_string(max_);
            return false;
        }
        ArticleOutcome outcome;
        bool processed = false;
        entry::Procedure item(procedure, entry::HandlerTable::B, entry::ErrorContext(&messages, &connection));
        item.Step([&] { return items.Code(outcome); })
            .Step([&] {
                port_.ProgressText(items.ProgressText(outcome, done_, max_));
            })
            .Step([&] { Log(items.StartLine(outcome)); })
            .Step([&] {
                items.Process(outcome);
                processed = true;
            })
            .Step([&] { items.Record(outcome); })
            .Step([&] {
                Log(items.EndLine(outcome));
                Log(kSeparatoreLog);
            })
            .Cleanup([&] {
                port_.ProgressValue(++done_);
                items.Next();
            });
        item.Run();
        if (item.LastError() && outcome.reason.empty() && (!processed || item.LeftOnError())) {
            // An error the user let pass or that left the run: the outcome says so. An article already
            // written stays counted as written.
            if (!processed) outcome.state = ArticleState::NotGenerated;
            outcome.reason = item.LastError()->Description();
        }
        port_.ArticleDone(outcome);
        outcome_.articles.push_back(std::move(outcome));
        if (item.LeftOnError()) return false;
    }
    return true;
}

const char* StateName(ArticleState state) {
    switch (state) {
        case ArticleState::Created: return "created";
        case ArticleState::AlreadyGenerated: return "already generated";
        case ArticleState::AlreadyExists: return "already exists";
        case ArticleState::CodeTooLong: return "code too long";
        case ArticleState::NotGenerated: return "not generated";
    }
    return "not generated";
}

long RunOutcome::Count(ArticleState state) const {
    long n = 0;
    for (const auto& a : articles) n += a.state == state ? 1 : 0;
    return n;
}

}  // namespace generation
