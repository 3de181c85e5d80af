#pragma once
// The one runner of procedures that trap their errors. A procedure is a sequence of steps (one statement
// each, or a few that belong together); on an error the runner asks what to do and reruns the step,
// goes on with the next one, or leaves the procedure, by one of the handler tables:
//
//   answer   | table A   | table B   | table C
//   2 cancel | leave     | continue  | continue
//   3 abort  | leave     | leave     | leave
//   4 retry  | retry     | retry     | retry
//   5 ignore | continue  | leave     | continue
//   other    | leave     | leave     | leave
//
// The question is Pfun_GestioneErrore with the procedure's name. Procedures whose errors are ignored
// statement by statement (the program object's members) use ResumeNext: same runner, never asks.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Error.h"
#include "entry/HostInterfaces.h"

namespace entry {

enum class HandlerTable { A, B, C };
enum class ErrorAction { Leave, Retry, Continue };

// What the table does with the answer of the error report.
ErrorAction ActionFor(HandlerTable table, long answer);

// Any exception as the component's error: db::Error as it is; anything else becomes an error whose
// source is `source` (7 for lack of memory, 51 "internal error" with the exception's text otherwise).
db::Error ToError(std::exception_ptr exception, const std::string& source);

// Where a procedure reports its errors: the owner's message service and connection variables, read at
// the time of each error (a procedure may create them itself, as Form_Load does). Either may be null.
class ErrorContext {
public:
    ErrorContext() = default;  // no message service, no connection: the platform message box
    ErrorContext(const std::shared_ptr<IMessageService>* messageService, const db::ConnectionPtr* connection)
        : messageService_(messageService), connection_(connection) {}

    std::shared_ptr<IMessageService> MessageService() const { return messageService_ ? *messageService_ : nullptr; }
    db::ConnectionPtr Connection() const { return connection_ ? *connection_ : nullptr; }

private:
    const std::shared_ptr<IMessageService>* messageService_ = nullptr;
    const db::ConnectionPtr* connection_ = nullptr;
};

class Procedure {
public:
    // Errors reported through Pfun_GestioneErrore and handled by `table`.
    Procedure(std::string name, HandlerTable table, ErrorContext context = {});
    // Errors ignored statement by statement: each failing step is skipped and the next one runs.
    static Procedure ResumeNext(std::string name);

    // Adds a step. A step that returns bool leaves the procedure when it returns false (an Exit Sub).
    template <class F>
    Procedure& Step(F&& step) {
        steps_.push_back(Wrap(std::forward<F>(step)));
        return *this;
    }
    // Adds a clean-up step: clean-up runs after the steps, whether they ran to the end or the procedure
    // was left, under the same error handling; leaving during clean-up ends it.
    template <class F>
    Procedure& Cleanup(F&& step) {
        cleanup_.push_back(Wrap(std::forward<F>(step)));
        return *this;
    }

    // Runs the steps, then the clean-up. True when every step ran (failures answered "continue" included),
    // False when the procedure was left early. An error of the error report itself is not trapped: it
    // reaches the caller, as an error inside an active handler does.
    bool Run();

    bool LeftOnError() const { return leftOnError_; }
    // The last error trapped (VB's Err), if any.
    const std::optional<db::Error>& LastError() const { return lastError_; }
    const std::string& Name() const { return name_; }

private:
    using StepFn = std::function<bool()>;
    using Decide = std::function<ErrorAction(const db::Error&)>;

    Procedure(std::string name, Decide decide);

    template <class F>
    static StepFn Wrap(F&& step) {
        if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
            return [s = std::forward<F>(step)]() mutable { s(); return true; };
        } else {
            return [s = std::forward<F>(step)]() mutable { return static_cast<bool>(s()); };
        }
    }

    // Runs the list; False when it was left (by an error answer or by a step returning false).
    bool RunSteps(std::vector<StepFn>& steps);

    std::string name_;
    Decide decide_;
    std::vector<StepFn> steps_;
    std::vector<StepFn> cleanup_;
    std::optional<db::Error> lastError_;
    bool leftOnError_ = false;
};

}  // namespace entry
