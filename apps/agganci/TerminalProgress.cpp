#include "apps/agganci/TerminalProgress.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "host/controls/ProgressBar.h"

namespace app {
namespace {

class TerminalProgressBar : public host::controls::ProgressBar {
public:
    TerminalProgressBar(const std::string& name, bool terminal) : ProgressBar(name), terminal_(terminal) {}

    void Refresh() override {
        ProgressBar::Refresh();
        const bool showing = Visible() && Max() > 0;
        if (terminal_) Draw(showing);
        else if (showing) Line();
        else lastValue_ = 0;  // the next run counts from the start
    }

private:
    void Draw(bool showing) {
        if (!showing) {
            if (drawn_) std::cerr << "\r\033[K" << std::flush;
            drawn_ = false;
            return;
        }
        constexpr long kWidth = 30;
        const long done = std::clamp(Value(), 0L, Max()) * kWidth / Max();
        std::cerr << "\r\033[K[" << std::string(static_cast<std::size_t>(done), '#')
                  << std::string(static_cast<std::size_t>(kWidth - done), ' ') << "] " << Value() << "/" << Max()
                  << " " << Text() << std::flush;
        drawn_ = true;
    }

    // One line per article done: the run refreshes the bar more often than it moves, and sets the article's
    // text before the count moves on.
    void Line() {
        if (Value() <= lastValue_) return;
        lastValue_ = Value();
        std::cerr << "[" << Value() << "/" << Max() << "] " << Text() << "\n";
    }

    bool terminal_;
    bool drawn_ = false;
    long lastValue_ = 0;
};

}  // namespace

void ShowProgressOnStderr(host::HeadlessShell& shell, bool quiet) {
    if (quiet) return;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    shell.SetControlMaker([terminal](entry::ControlKind kind, const std::string& name) -> std::shared_ptr<entry::IControl> {
        if (kind != entry::ControlKind::ProgressBar) return nullptr;
        return std::make_shared<TerminalProgressBar>(name, terminal);
    });
}

}  // namespace app
