#pragma once
// The part of a run's port that a window shows with its controls: the progress bar and the button that
// opens the run's log. The links form's port and any other window's build on it.
#include <memory>
#include <string>

#include "entry/Controls.h"
#include "generation/RunPort.h"

namespace generation {

class ControlRunPort : public IRunPort {
public:
    // `procedure` names the run in the error raised when a control is missing.
    ControlRunPort(std::string procedure, std::shared_ptr<entry::IProgressBar> bar,
                   std::shared_ptr<entry::IButton> logButton, std::string logButtonName);

    void ProgressStart(const std::string& caption, long max) override;
    void ProgressText(const std::string& text) override;
    void ProgressValue(long done) override;
    void ProgressEnd() override;
    void ShowLogButton(bool visible) override;

private:
    entry::IProgressBar& Bar();

    std::string procedure_;
    std::shared_ptr<entry::IProgressBar> bar_;
    std::shared_ptr<entry::IButton> logButton_;
    std::string logButtonName_;
};

}  // namespace generation
