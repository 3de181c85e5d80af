#pragma once
// The navigator bar of a data frame: the buttons the user presses to add, save, undo, delete and move.
#include <memory>
#include <string>

#include "entry/ControlsDataFrame.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class DataNavigator : public Control<entry::IDataNavigator> {
public:
    using Control::Control;
    std::shared_ptr<entry::IDataFrame> Frame() const override { return frame_; }
    void Frame(const std::shared_ptr<entry::IDataFrame>& frame) override { frame_ = frame; }
    std::shared_ptr<entry::IGrid> Grid() const override { return grid_; }
    void Grid(const std::shared_ptr<entry::IGrid>& grid) override { grid_ = grid; }
    entry::Event<const std::string&, bool&>& ButtonClick() override { return buttonClick_; }
    void Terminate() override;

    // The user presses a button (entry::pulsanti): ButtonClick, then, unless cancelled, the frame does
    // the button's work. False when the form cancelled it or the frame refused.
    bool UserPress(const std::string& button);

private:
    std::shared_ptr<entry::IDataFrame> frame_;
    std::shared_ptr<entry::IGrid> grid_;
    entry::Event<const std::string&, bool&> buttonClick_;
};

}  // namespace host::controls
