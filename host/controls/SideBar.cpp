#include "host/controls/SideBar.h"

#include "db/Error.h"

namespace host::controls {

namespace {
constexpr long kElementNotFound = 35601;
constexpr long kKeyNotUnique = 35602;

// Keys compare as the platform's collections compare them: without regard to case.
bool SameKey(const std::string& a, const std::string& b) { return db::SameText(a, b); }
}  // namespace

void SideBar::Initialize(const std::shared_ptr<entry::Cinterface>& program, bool) {
    program_ = program;
    initialized_ = true;
}

void SideBar::Terminate() {
    Control::Terminate();
    program_.reset();
}

SideBar::Group* SideBar::FindGroup(const std::string& group) {
    for (auto& g : groups_)
        if (SameKey(g.key, group)) return &g;
    return nullptr;
}

const SideBar::Group* SideBar::FindGroup(const std::string& group) const {
    return const_cast<SideBar*>(this)->FindGroup(group);
}

SideBar::Item& SideBar::FindItem(const std::string& group, const std::string& key) {
    if (Group* g = FindGroup(group))
        for (auto& item : g->items)
            if (SameKey(item.key, key)) return item;
    throw db::Error(kElementNotFound, "Element not found: " + group + "/" + key);
}

const SideBar::Item& SideBar::FindItem(const std::string& group, const std::string& key) const {
    return const_cast<SideBar*>(this)->FindItem(group, key);
}

void SideBar::AddGroup(const std::string& group, const std::string& caption) {
    if (FindGroup(group)) throw db::Error(kKeyNotUnique, "Key is not unique in collection: " + group);
    groups_.push_back({group, caption, {}});
}

void SideBar::AddItem(const std::string& group, const std::string& key, const std::string& caption) {
    Group* g = FindGroup(group);
    if (!g) throw db::Error(kElementNotFound, "Element not found: " + group);
    for (const auto& item : g->items)
        if (SameKey(item.key, key)) throw db::Error(kKeyNotUnique, "Key is not unique in collection: " + key);
    g->items.push_back({key, caption, true});
}

void SideBar::Clear() {
    groups_.clear();
    selectedGroup_.clear();
    selectedItem_.clear();
}

long SideBar::ItemCount(const std::string& group) const {
    const Group* g = FindGroup(group);
    return g ? static_cast<long>(g->items.size()) : 0;
}

bool SideBar::ItemEnabled(const std::string& group, const std::string& key) const {
    return FindItem(group, key).enabled;
}

void SideBar::ItemEnabled(const std::string& group, const std::string& key, bool enabled) {
    FindItem(group, key).enabled = enabled;
}

void SideBar::SelectItem(const std::string& group, const std::string& key) {
    const Item& item = FindItem(group, key);
    selectedGroup_ = FindGroup(group)->key;
    selectedItem_ = item.key;
}

bool SideBar::UserClickItem(const std::string& group, const std::string& key) {
    UserReaches();
    if (!FindItem(group, key).enabled) throw NotReachable(Name() + "/" + group + "/" + key);
    bool cancel = false;
    beforeItemClick_.Raise(group, key, cancel);
    if (cancel) return false;
    SelectItem(group, key);
    itemClick_.Raise(group, key);
    return true;
}

}  // namespace host::controls
