#pragma once
// The shell's resize control: keeps what the form registered (areas and anchored controls, in order)
// and lays the form out again when the window is resized.
#include <memory>
#include <string>
#include <vector>

#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

struct ResizeEntry {
    std::string control;
    long code = 0;
    bool area = false;
    friend bool operator==(const ResizeEntry&, const ResizeEntry&) = default;
};

class ResizeControl : public Control<entry::IResizeControl> {
public:
    using Control::Control;
    std::shared_ptr<entry::Cinterface> ActiveInterface() const override { return program_; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    // Forgets the previous registration and asks the form for its layout.
    void Start() override;
    void AddArea(const std::shared_ptr<entry::IControl>& area, long code) override;
    void AddControl(const std::shared_ptr<entry::IControl>& control, long anchor) override;
    void Relayout(const std::shared_ptr<entry::IControl>& area) override;
    entry::Event<>& Layout() override { return layout_; }
    entry::Event<bool&>& QueryResize() override { return queryResize_; }
    entry::Event<>& AfterResize() override { return afterResize_; }

    // The window is resized; False when the form refused.
    bool UserResize(long width, long height);

    bool Started() const { return started_; }
    const std::vector<ResizeEntry>& Entries() const { return entries_; }
    const std::vector<std::string>& Relayouts() const { return relayouts_; }
    long FormWidth() const { return formWidth_; }
    long FormHeight() const { return formHeight_; }

private:
    std::shared_ptr<entry::Cinterface> program_;
    bool started_ = false;
    std::vector<ResizeEntry> entries_;
    std::vector<std::string> relayouts_;
    long formWidth_ = 0, formHeight_ = 0;
    entry::Event<> layout_;
    entry::Event<bool&> queryResize_;
    entry::Event<> afterResize_;
};

}  // namespace host::controls
