#include "host/web/WebControls.h"

namespace host::web {

void WebSideBar::AddGroup(const std::string& group, const std::string& caption) {
    SideBar::AddGroup(group, caption);
    groups_.push_back({group, caption});
}

void WebSideBar::AddItem(const std::string& group, const std::string& key, const std::string& caption) {
    SideBar::AddItem(group, key, caption);  // refuses a duplicate or a missing group first
    items_.push_back({group, key, caption});
}

void WebSideBar::Clear() {
    SideBar::Clear();
    groups_.clear();
    items_.clear();
}

void WebAdvancedQuery::RimuoviCampi() {
    AdvancedQuery::RimuoviCampi();
    fields_.clear();
}

void WebAdvancedQuery::DefinisciCampo(const std::string& caption, const std::string& field, const std::string& group,
                                      long ordinal) {
    AdvancedQuery::DefinisciCampo(caption, field, group, ordinal);
    fields_.push_back({caption, field});
}

void WebProgressBar::Refresh() {
    ProgressBar::Refresh();
    if (refreshed_) refreshed_();
}

std::shared_ptr<entry::IControl> NewWebControl(entry::ControlKind kind, const std::string& name,
                                               const controls::ConnectionResolver& resolver,
                                               const std::function<void()>& refreshed) {
    switch (kind) {
    case entry::ControlKind::SideBar: return std::make_shared<WebSideBar>(name);
    case entry::ControlKind::AdvancedQuery: return std::make_shared<WebAdvancedQuery>(name);
    case entry::ControlKind::ProgressBar: return std::make_shared<WebProgressBar>(name, refreshed);
    default: return controls::NewControl(kind, name, resolver);
    }
}

}  // namespace host::web
