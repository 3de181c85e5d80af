#pragma once
// The one loop of the generation run and the mass duplication run: the run's checks, the progress bar, the
// processing log opened and closed around the items, and per item the same frame (its code, the progress
// text, the start line, the work, the recording, the end lines), each step under the handler table B of the
// run's procedure. What differs between the two runs is an IRunItems; what is shown goes to the run's port.
#include <functional>
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "generation/GenerationContext.h"
#include "generation/RunOutcome.h"
#include "generation/RunPort.h"

namespace generation {

// 96 underscores and a blank: the line after every item.
inline const std::string kSeparatoreLog = std::string(96, '_') + " ";
inline constexpr const char* kCaptionProgresso = "Agganci\\Aperture";
inline constexpr const char* kMsgVariantiNonConfigurate =
    "Attenzione! Gestione varianti non configurata. Procedere Ugualmente?";

// Message-box styles the runs use.
inline constexpr long kStileSiNo = 4;
inline constexpr long kStileSiNoAnnulla = 3;
inline constexpr long kStileEsclamativo = 48;

// The items a run walks, and what the run does with each.
class IRunItems {
public:
    virtual ~IRunItems() = default;
    virtual long Count() = 0;  // the progress bar's maximum
    virtual void First() = 0;
    virtual bool AtEnd() = 0;
    virtual void Next() = 0;
    // Fills the item's new code (asking about truncation); false skips the item, its outcome saying why.
    virtual bool Code(ArticleOutcome& outcome) = 0;
    virtual std::string ProgressText(const ArticleOutcome& outcome, long done, long max) = 0;
    virtual std::string StartLine(const ArticleOutcome& outcome) = 0;
    virtual void Process(ArticleOutcome& outcome) = 0;
    // A step of its own after the work: Retry after a failed recording repeats only the recording.
    virtual void Record(ArticleOutcome&) {}
    virtual std::string EndLine(const ArticleOutcome& outcome) = 0;
};

class RunLoop {
public:
    // The run keeps company parameters for its own duration (ForOneRun): every article reads them once.
    RunLoop(const GenerationContext& context, IRunPort& port) : context_(ForOneRun(context)), port_(port) {}

    // A question of the run; the answer is kept in the outcome.
    long Ask(const std::string& text, long style, const std::string& title);
    // A check that stops the run: false, with the reason kept in the outcome.
    bool Refuse(const std::string& reason);
    // Without a variant selection the user is asked whether to go on; false when the answer is No.
    bool VariantsConfigured(const db::RecordsetPtr& selection);

    // The run: `checks` in order (one returning false ends the run before anything is written), then the
    // progress bar, the log and the items. Errors are reported under `procedure`.
    RunOutcome Run(const std::string& procedure, const std::vector<std::function<bool()>>& checks, IRunItems& items);

    IRunPort& Port() { return port_; }
    const GenerationContext& Context() const { return context_; }

private:
    bool Items(const std::string& procedure, IRunItems& items);
    void Log(const std::string& text) { port_.Log().ScriviLog(text, 2); }

    const GenerationContext context_;
    IRunPort& port_;
    RunOutcome outcome_;
    long done_ = 0, max_ = 0;
};

}  // namespace generation
