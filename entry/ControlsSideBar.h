#pragma once
// The shell's side bar (SIDEBAR_MAIN): groups of items; clicking an item raises BeforeItemClick (the
// form may cancel) and then ItemClick.
#include <memory>
#include <string>

#include "entry/Controls.h"

namespace entry {

class ISideBar : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::SideBar;

    virtual void Initialize(const std::shared_ptr<Cinterface>& program, bool option) = 0;
    virtual void AddGroup(const std::string& group, const std::string& caption) = 0;
    // Error 35602 ("Key is not unique") when the key is already in the group; Error 35601 ("Element not
    // found") when the group does not exist.
    virtual void AddItem(const std::string& group, const std::string& key, const std::string& caption) = 0;
    // Removes every group and item.
    virtual void Clear() = 0;

    // Availability of an item; Error 35601 when group or item does not exist.
    virtual bool ItemEnabled(const std::string& group, const std::string& key) const = 0;
    virtual void ItemEnabled(const std::string& group, const std::string& key, bool enabled) = 0;
    // Makes the item the selected one (raises no event).
    virtual void SelectItem(const std::string& group, const std::string& key) = 0;
    virtual std::string SelectedGroup() const = 0;
    virtual std::string SelectedItem() const = 0;

    virtual Event<const std::string&, const std::string&, bool&>& BeforeItemClick() = 0;  // group, key, cancel
    virtual Event<const std::string&, const std::string&>& ItemClick() = 0;               // group, key
};

}  // namespace entry
