#include "generation/ControlRunPort.h"

#include "generation/HostObject.h"

namespace generation {

ControlRunPort::ControlRunPort(std::string procedure, std::shared_ptr<entry::IProgressBar> bar,
                               std::shared_ptr<entry::IButton> logButton, std::string logButtonName)
    : procedure_(std::move(procedure)), bar_(std::move(bar)), logButton_(std::move(logButton)),
      logButtonName_(std::move(logButtonName)) {}

entry::IProgressBar& ControlRunPort::Bar() { return *Richiesto(bar_, "ZEL_PROGRESS1", procedure_); }

void ControlRunPort::ProgressStart(const std::string& caption, long max) {
    auto& bar = Bar();
    bar.Visible(true);
    bar.Caption(caption);
    bar.CaptionVisible(true);
    bar.TextVisible(true);
    bar.Value(0);
    bar.Max(max);
    bar.Text("");
    bar.Refresh();
}

void ControlRunPort::ProgressText(const std::string& text) {
    auto& bar = Bar();
    bar.Text(text);
    bar.Refresh();
}

void ControlRunPort::ProgressValue(long done) {
    auto& bar = Bar();
    bar.Value(done);
    bar.Refresh();
}

void ControlRunPort::ProgressEnd() {
    auto& bar = Bar();
    bar.Caption("");
    bar.CaptionVisible(false);
    bar.Text("");
    bar.TextVisible(false);
    bar.Value(0);
    bar.Min(0);
    bar.Max(0);
    bar.Visible(false);
    bar.Refresh();
}

void ControlRunPort::ShowLogButton(bool visible) {
    Richiesto(logButton_, logButtonName_, procedure_)->Visible(visible);
}

}  // namespace generation
