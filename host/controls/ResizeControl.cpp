#include "host/controls/ResizeControl.h"

namespace host::controls {

void ResizeControl::Start() {
    started_ = true;
    entries_.clear();
    layout_.Raise();
}

void ResizeControl::AddArea(const std::shared_ptr<entry::IControl>& area, long code) {
    if (!area) throw db::Error(db::errc::ObjectRequired);
    entries_.push_back({area->Name(), code, true});
}

void ResizeControl::AddControl(const std::shared_ptr<entry::IControl>& control, long anchor) {
    if (!control) throw db::Error(db::errc::ObjectRequired);
    entries_.push_back({control->Name(), anchor, false});
}

void ResizeControl::Relayout(const std::shared_ptr<entry::IControl>& area) {
    if (!area) throw db::Error(db::errc::ObjectRequired);
    relayouts_.push_back(area->Name());
}

bool ResizeControl::UserResize(long width, long height) {
    // A form that does not answer lets the shell resize it.
    bool allowed = true;
    queryResize_.Raise(allowed);
    if (!allowed) return false;
    formWidth_ = width;
    formHeight_ = height;
    afterResize_.Raise();
    return true;
}

}  // namespace host::controls
