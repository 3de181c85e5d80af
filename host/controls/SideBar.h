#pragma once
// The shell's side bar: groups of items, one selected item, and the click events.
#include <memory>
#include <string>
#include <vector>

#include "entry/ControlsSideBar.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class SideBar : public Control<entry::ISideBar> {
public:
    using Control::Control;

    void Initialize(const std::shared_ptr<entry::Cinterface>& program, bool option) override;
    void AddGroup(const std::string& group, const std::string& caption) override;
    void AddItem(const std::string& group, const std::string& key, const std::string& caption) override;
    void Clear() override;
    bool ItemEnabled(const std::string& group, const std::string& key) const override;
    void ItemEnabled(const std::string& group, const std::string& key, bool enabled) override;
    void SelectItem(const std::string& group, const std::string& key) override;
    std::string SelectedGroup() const override { return selectedGroup_; }
    std::string SelectedItem() const override { return selectedItem_; }
    entry::Event<const std::string&, const std::string&, bool&>& BeforeItemClick() override { return beforeItemClick_; }
    entry::Event<const std::string&, const std::string&>& ItemClick() override { return itemClick_; }
    void Terminate() override;

    // The user clicks the item: BeforeItemClick, then (unless cancelled) the item is selected and
    // ItemClick raised. False when the form cancelled the click. An unavailable item cannot be clicked.
    bool UserClickItem(const std::string& group, const std::string& key);

    bool Initialized() const { return initialized_; }
    std::shared_ptr<entry::Cinterface> Program() const { return program_; }
    long ItemCount(const std::string& group) const;

private:
    struct Item {
        std::string key, caption;
        bool enabled = true;
    };
    struct Group {
        std::string key, caption;
        std::vector<Item> items;
    };
    Group* FindGroup(const std::string& group);
    const Group* FindGroup(const std::string& group) const;
    Item& FindItem(const std::string& group, const std::string& key);
    const Item& FindItem(const std::string& group, const std::string& key) const;

    std::shared_ptr<entry::Cinterface> program_;
    bool initialized_ = false;
    std::vector<Group> groups_;
    std::string selectedGroup_, selectedItem_;
    entry::Event<const std::string&, const std::string&, bool&> beforeItemClick_;
    entry::Event<const std::string&, const std::string&> itemClick_;
};

}  // namespace host::controls
