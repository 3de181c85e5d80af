#pragma once
// The shell's combo box: items with a key and a caption; its text is the key of the chosen item.
#include <string>
#include <utility>
#include <vector>

#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class ComboBox : public Control<entry::IComboBox> {
public:
    using Control::Control;
    void Clear() override;
    void AddItem(const std::string& key, const std::string& caption) override;
    long ListCount() const override { return static_cast<long>(items_.size()); }
    std::string ItemKey(long index) const override;
    std::string ItemCaption(long index) const override;
    long ListIndex() const override { return listIndex_; }
    void ListIndex(long index) override;
    std::string Text() const override;
    entry::Event<>& Click() override { return click_; }

    // The user chooses the item with this caption (Error 5 when the list has none).
    void UserChoose(const std::string& caption);

private:
    const std::pair<std::string, std::string>& Item(long index) const;

    std::vector<std::pair<std::string, std::string>> items_;  // key, caption
    long listIndex_ = -1;
    entry::Event<> click_;
};

}  // namespace host::controls
