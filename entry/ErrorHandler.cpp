#include "entry/ErrorHandler.h"

#include <new>

#include "entry/MDLFA_AGGANCI.h"

namespace entry {

namespace {
constexpr long kOutOfMemory = 7;
constexpr long kInternalError = 51;
}  // namespace

ErrorAction ActionFor(HandlerTable table, long answer) {
    switch (answer) {
    case kAnswerCancel: return table == HandlerTable::A ? ErrorAction::Leave : ErrorAction::Continue;
    case kAnswerRetry: return ErrorAction::Retry;
    case kAnswerIgnore: return table == HandlerTable::B ? ErrorAction::Leave : ErrorAction::Continue;
    default: return ErrorAction::Leave;  // 3 abort, and any answer the tables do not name
    }
}

db::Error ToError(std::exception_ptr exception, const std::string& source) {
    try {
        std::rethrow_exception(exception);
    } catch (const db::Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return db::Error(kOutOfMemory, "Out of memory", source);
    } catch (const std::exception& e) {
        return db::Error(kInternalError, e.what(), source);
    } catch (...) {
        return db::Error(kInternalError, "Internal error", source);
    }
}

Procedure::Procedure(std::string name, Decide decide) : name_(std::move(name)), decide_(std::move(decide)) {}

Procedure::Procedure(std::string name, HandlerTable table, ErrorContext context)
    : Procedure(name, [name, table, context](const db::Error& error) {
          return ActionFor(table,
                           Pfun_GestioneErrore(context.MessageService(), context.Connection(), name, error));
      }) {}

Procedure Procedure::ResumeNext(std::string name) {
    // These members must never raise to the shell: the error is kept in LastError and the next step runs.
    return Procedure(std::move(name), [](const db::Error&) { return ErrorAction::Continue; });
}

bool Procedure::Run() {
    leftOnError_ = false;
    const bool completed = RunSteps(steps_);
    RunSteps(cleanup_);
    return completed;
}

bool Procedure::RunSteps(std::vector<StepFn>& steps) {
    for (std::size_t i = 0; i < steps.size();) {
        bool goOn = true;
        try {
            goOn = steps[i]();
        } catch (...) {
            lastError_ = ToError(std::current_exception(), name_);
            switch (decide_(*lastError_)) {
            case ErrorAction::Retry: continue;
            case ErrorAction::Continue: ++i; continue;
            case ErrorAction::Leave: leftOnError_ = true; return false;
            }
        }
        if (!goOn) return false;
        ++i;
    }
    return true;
}

}  // namespace entry
