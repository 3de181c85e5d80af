#pragma once
// The shell's status bar, handed to a program as its Cinterface StatusBar. Every text a panel shows is
// kept in order.
#include <memory>
#include <string>
#include <vector>

#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class StatusPanel : public entry::IStatusPanel {
public:
    std::string Text() const override { return text_; }
    void Text(const std::string& v) override {
        text_ = v;
        history_.push_back(v);
    }
    const std::vector<std::string>& History() const { return history_; }

private:
    std::string text_;
    std::vector<std::string> history_;
};

class StatusBar : public Control<entry::IStatusBar> {
public:
    explicit StatusBar(std::string name = "StatusBar", long panels = 2);
    entry::IStatusPanel& Panels(long index) override;
    long PanelCount() const override { return static_cast<long>(panels_.size()); }
    StatusPanel& Panel(long index) { return static_cast<StatusPanel&>(Panels(index)); }

private:
    std::vector<std::unique_ptr<StatusPanel>> panels_;
};

}  // namespace host::controls
