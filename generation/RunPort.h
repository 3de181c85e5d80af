#pragma once
// What a run needs from whoever drives it: the links form, the command line, the browser shell, the
// benchmark or a test. The run never sees a form.
#include <string>

#include "generation/ProcessingLog.h"
#include "generation/RunOutcome.h"

namespace generation {

// Mouse pointers the run sets.
inline constexpr long vbDefault = 0;
inline constexpr long vbHourglass = 11;

class IRunPort {
public:
    virtual ~IRunPort() = default;

    // A message box: text, style (buttons and icon), title; the answer (6 yes, 7 no, 2 cancel).
    virtual long Ask(const std::string& text, long style, const std::string& title) = 0;
    // The processing log the run writes; it outlives the run (the log buttons show it afterwards).
    virtual ProcessingLog& Log() = 0;

    // Progress over `max` items; Step shows the text of the item being worked on, Value the items done.
    virtual void ProgressStart(const std::string& caption, long max) {}
    virtual void ProgressText(const std::string& text) {}
    virtual void ProgressValue(long done) {}
    virtual void ProgressEnd() {}

    // An article is being created (hourglass and the status text) or the run is ready again.
    virtual void Busy(bool busy, const std::string& status) {}
    // The field the user has to fill in after a "data missing" message (a control name of the form).
    virtual void FocusOn(const std::string& control) {}
    // The button that shows the run's log: hidden while a run starts, shown once its log is closed.
    virtual void ShowLogButton(bool visible) {}
    // One row or article is done with.
    virtual void ArticleDone(const ArticleOutcome& outcome) {}
};

}  // namespace generation
