#pragma once
// The shell's progress bar. Every Refresh is kept, so a caller can see what the user saw.
#include <string>
#include <vector>

#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

struct ProgressState {
    long min = 0, max = 0, value = 0;
    std::string caption, text;
    bool visible = true, captionVisible = false, textVisible = false;
    friend bool operator==(const ProgressState&, const ProgressState&) = default;
};

class ProgressBar : public Control<entry::IProgressBar> {
public:
    using Control::Control;
    long Min() const override { return state_.min; }
    void Min(long v) override { state_.min = v; }
    long Max() const override { return state_.max; }
    void Max(long v) override { state_.max = v; }
    long Value() const override { return state_.value; }
    void Value(long v) override { state_.value = v; }
    std::string Caption() const override { return state_.caption; }
    void Caption(const std::string& v) override { state_.caption = v; }
    bool CaptionVisible() const override { return state_.captionVisible; }
    void CaptionVisible(bool v) override { state_.captionVisible = v; }
    std::string Text() const override { return state_.text; }
    void Text(const std::string& v) override { state_.text = v; }
    bool TextVisible() const override { return state_.textVisible; }
    void TextVisible(bool v) override { state_.textVisible = v; }
    void Refresh() override {
        ProgressState shown = state_;
        shown.visible = Visible();
        refreshes_.push_back(shown);
    }

    const std::vector<ProgressState>& Refreshes() const { return refreshes_; }

private:
    ProgressState state_;
    std::vector<ProgressState> refreshes_;
};

}  // namespace host::controls
