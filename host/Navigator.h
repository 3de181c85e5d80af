#pragma once
// The shell's navigator: the programs it lists, the events it raises to the programs subscribed to it,
// and its layout and script object models (the script model can veto closing a form).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/Object.h"
#include "entry/HostInterfaces.h"
#include "entry/NavigatorModels.h"

namespace host {

class LayoutObjectModel : public entry::IFormLayoutModel {
public:
    struct Entry {
        db::ObjectPtr form;
        std::string name;
    };
    // Adding under a name already used replaces that entry; the form handed back is the one added.
    db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name) override;
    // Error 5 when nothing was added under the name.
    void ApplicaLayout(const std::string& name) override;

    const std::vector<Entry>& Entries() const { return entries_; }
    const std::vector<std::string>& Applied() const { return applied_; }

private:
    std::vector<Entry> entries_;
    std::vector<std::string> applied_;
};

class ScriptObjectModel : public entry::IFormScriptModel {
public:
    struct Entry {
        db::ObjectPtr form;
        std::string name, caption;
    };
    struct FormEventRecord {
        std::string form;
        bool opened;
        friend bool operator==(const FormEventRecord&, const FormEventRecord&) = default;
    };

    db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name, const std::string& caption) override;
    // True vetoes the close (the script says so).
    bool QueryClose() override;
    void FormEvent(const std::string& formName, bool opened) override;
    void Remove(const std::string& formName) override;

    // The script's answer to the next close queries.
    void VetoClose(bool veto) { veto_ = veto; }
    int CloseQueries() const { return closeQueries_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    const std::vector<FormEventRecord>& Events() const { return events_; }

private:
    std::vector<Entry> entries_;
    std::vector<FormEventRecord> events_;
    bool veto_ = false;
    int closeQueries_ = 0;
};

class Navigator : public entry::IFormNavigator {
public:
    // A navigator with both models; pass false to have a navigator without layouts or script layer.
    explicit Navigator(bool layouts = true, bool scripts = true);

    void Registra(const std::shared_ptr<entry::Cinterface>& program);
    void Deregistra(const std::shared_ptr<entry::Cinterface>& program) override;
    std::vector<std::shared_ptr<entry::Cinterface>> Programmi() const;

    std::shared_ptr<entry::IScriptObjectModel> ScriptObjectModel() override { return script_; }
    void Advise(const std::shared_ptr<entry::INavigatorEvents>& sink) override;
    void Unadvise(const entry::INavigatorEvents* sink) override;
    std::shared_ptr<entry::IFormLayoutModel> LayoutModel() override;
    std::shared_ptr<entry::IFormScriptModel> PreparaScriptModel() override;
    std::shared_ptr<entry::IFormScriptModel> ScriptModel() override { return script_; }
    void FormChiuso(const std::string& formName) override;

    // --- What the shell raises (the user changes company, exports to the office suite...) ---
    // Each returns the Cancel flag as the subscribers left it.
    bool RaiseBeforeChangeDitta();
    bool RaiseBeforeExportToOffice();

    std::size_t Subscribers() const;
    const std::shared_ptr<host::LayoutObjectModel>& Layout() const { return layout_; }
    const std::shared_ptr<host::ScriptObjectModel>& Script() const { return script_; }
    const std::vector<std::string>& ClosedForms() const { return closedForms_; }

private:
    template <class F>
    void ForEachSubscriber(F&& call);

    std::shared_ptr<host::LayoutObjectModel> layout_;
    std::shared_ptr<host::ScriptObjectModel> script_;
    bool layoutPrepared_ = false;
    std::vector<std::pair<const entry::INavigatorEvents*, std::weak_ptr<entry::INavigatorEvents>>> sinks_;
    std::vector<std::weak_ptr<entry::Cinterface>> programs_;
    std::vector<std::string> closedForms_;
};

}  // namespace host
