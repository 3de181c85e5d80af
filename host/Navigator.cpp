#include "host/Navigator.h"

#include <algorithm>

#include "db/Error.h"

namespace host {

db::ObjectPtr LayoutObjectModel::Add(const db::ObjectPtr& form, const std::string& name) {
    if (!form) throw db::Error(db::errc::ObjectRequired);
    for (auto& entry : entries_)
        if (entry.name == name) {
            entry.form = form;
            return form;
        }
    entries_.push_back({form, name});
    return form;
}

void LayoutObjectModel::ApplicaLayout(const std::string& name) {
    const bool known = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == name; });
    if (!known) throw db::Error(db::errc::InvalidProcedureCall, "No form added to the layout model as " + name);
    applied_.push_back(name);
}

db::ObjectPtr ScriptObjectModel::Add(const db::ObjectPtr& form, const std::string& name, const std::string& caption) {
    if (!form) throw db::Error(db::errc::ObjectRequired);
    for (auto& entry : entries_)
        if (entry.name == name) {
            entry.form = form;
            entry.caption = caption;
            return form;
        }
    entries_.push_back({form, name, caption});
    return form;
}

bool ScriptObjectModel::QueryClose() {
    ++closeQueries_;
    return veto_;
}

void ScriptObjectModel::FormEvent(const std::string& formName, bool opened) { events_.push_back({formName, opened}); }

void ScriptObjectModel::Remove(const std::string& formName) {
    std::erase_if(entries_, [&](const Entry& e) { return e.name == formName; });
}

Navigator::Navigator(bool layouts, bool scripts) {
    if (layouts) layout_ = std::make_shared<host::LayoutObjectModel>();
    if (scripts) script_ = std::make_shared<host::ScriptObjectModel>();
}

void Navigator::Registra(const std::shared_ptr<entry::Cinterface>& program) {
    if (program) programs_.push_back(program);
}

void Navigator::Deregistra(const std::shared_ptr<entry::Cinterface>& program) {
    std::erase_if(programs_, [&](const std::weak_ptr<entry::Cinterface>& p) {
        auto held = p.lock();
        return !held || held == program;
    });
}

std::vector<std::shared_ptr<entry::Cinterface>> Navigator::Programmi() const {
    std::vector<std::shared_ptr<entry::Cinterface>> open;
    for (const auto& p : programs_)
        if (auto held = p.lock()) open.push_back(held);
    return open;
}

void Navigator::Advise(const std::shared_ptr<entry::INavigatorEvents>& sink) {
    if (!sink) throw db::Error(db::errc::ObjectRequired);
    Unadvise(sink.get());
    sinks_.emplace_back(sink.get(), sink);
}

void Navigator::Unadvise(const entry::INavigatorEvents* sink) {
    std::erase_if(sinks_, [&](const auto& s) { return s.first == sink || s.second.expired(); });
}

std::size_t Navigator::Subscribers() const {
    return static_cast<std::size_t>(
        std::count_if(sinks_.begin(), sinks_.end(), [](const auto& s) { return !s.second.expired(); }));
}

template <class F>
void Navigator::ForEachSubscriber(F&& call) {
    // A subscriber may end its subscription while it is called: walk a copy.
    const auto sinks = sinks_;
    for (const auto& s : sinks)
        if (auto sink = s.second.lock()) call(*sink);
}

std::shared_ptr<entry::IFormLayoutModel> Navigator::LayoutModel() {
    if (layout_ && !layoutPrepared_) {
        layoutPrepared_ = true;
        ForEachSubscriber([&](entry::INavigatorEvents& sink) { sink.InitializeLayoutObjectModel(layout_); });
    }
    return layout_;
}

std::shared_ptr<entry::IFormScriptModel> Navigator::PreparaScriptModel() {
    if (script_) ForEachSubscriber([&](entry::INavigatorEvents& sink) { sink.InitializeScriptObjectModel(script_); });
    return script_;
}

void Navigator::FormChiuso(const std::string& formName) {
    closedForms_.push_back(formName);
}

bool Navigator::RaiseBeforeChangeDitta() {
    bool cancel = false;
    ForEachSubscriber([&](entry::INavigatorEvents& sink) { sink.BeforeChangeDitta(cancel); });
    return cancel;
}

bool Navigator::RaiseBeforeExportToOffice() {
    bool cancel = false;
    ForEachSubscriber([&](entry::INavigatorEvents& sink) { sink.BeforeExportToOffice(cancel, nullptr); });
    return cancel;
}

}  // namespace host
