#pragma once
// The headless shell: what the ERP's desktop does with the component, without a screen. It opens the
// company session (connection, global object, navigator, status bar), creates the program object and
// sets it up as the ERP does, shows its window and closes it; a script acts as the user on the forms
// (types into fields, picks from lookups, clicks, ticks grid cells, answers message boxes). A modal
// form runs the script queued for it inside its show. Tests and the command line drive the forms only
// through this class.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/Form.h"
#include "entry/Shell.h"
#include "host/GlobalObject.h"
#include "host/HostFactory.h"
#include "host/Navigator.h"
#include "host/ScriptedMessageService.h"
#include "host/controls/StatusBar.h"

namespace host {

// What the ERP sets on a program before it shows it.
struct ProgramRequest {
    db::Variant articoloOrigine = db::Variant(std::string());
    entry::Util_TabNavigator tabAttivo = entry::Util_Agganci;
    entry::KvEnumTipoAnagraficaArticoli tipoAnagrafica = entry::KvEnumTipoAnagraficaArticoli_Estesa;
    bool invocaGestione = false;
    bool modal = false;             // WindowModal
    bool called = false;            // IsCalled: opened on behalf of another program
    std::string caption = "Duplicazione articolo";
    std::int32_t windowState = 0;
    std::int32_t programMode = 0;
};

class HeadlessShell;

// What the scripted user does on one form, in order.
class UserScript {
public:
    using Action = std::function<void(entry::Form& form, HeadlessShell& shell)>;
    struct Step {
        std::string description;
        Action action;
    };

    // Types into a text box or a lookup box (a lookup box decodes when the user leaves it).
    UserScript& Type(const std::string& control, const std::string& text);
    // Picks the row of that code from a lookup box's list.
    UserScript& Pick(const std::string& control, const std::string& code);
    // Clicks a button or a check box.
    UserScript& Click(const std::string& control);
    // Chooses the item of that caption in a combo box.
    UserScript& Choose(const std::string& control, const std::string& caption);
    UserScript& SelectItem(const std::string& sideBar, const std::string& group, const std::string& item);
    UserScript& SelectRow(const std::string& grid, long row);
    UserScript& Tick(const std::string& grid, long row, const std::string& field);
    UserScript& EditCell(const std::string& grid, long row, const std::string& field, const db::Variant& value);
    // Presses a button of a data navigator (entry::pulsanti).
    UserScript& Press(const std::string& navigator, const std::string& button);
    UserScript& Resize(long width, long height);
    UserScript& Key(int keyCode);
    // The answer the user gives to the next message box / error box.
    UserScript& Answer(long answer);
    UserScript& AnswerError(long answer);
    // Closes the window (the form may refuse).
    UserScript& Close();
    // Anything else, on the form.
    UserScript& Do(std::string description, Action action);

    const std::vector<Step>& Steps() const { return steps_; }
    bool Empty() const { return steps_.empty(); }

private:
    std::vector<Step> steps_;
};

class HeadlessShell : public entry::IShell, public std::enable_shared_from_this<HeadlessShell> {
public:
    // Opens the company session on the connection string and installs the shell (its host services and
    // itself) for the component. The shell stays installed until it ends.
    static std::shared_ptr<HeadlessShell> Start(const std::string& connectionString, long ditta);
    ~HeadlessShell() override;
    HeadlessShell(const HeadlessShell&) = delete;
    HeadlessShell& operator=(const HeadlessShell&) = delete;

    // --- Programs, as the ERP opens them ---
    // A new program object with the session's references, flags and the request's properties.
    std::shared_ptr<entry::CLSFA_AGGANCI> CreaProgramma(const ProgramRequest& request);
    // CreaProgramma and ShowForm. A modal show returns once the form is closed (after the script queued
    // for it ran), so its results can be read at once.
    std::shared_ptr<entry::CLSFA_AGGANCI> Apri(const ProgramRequest& request);
    // The ERP closes the program's window: CloseForm's answer (True when the window is gone).
    bool Chiudi(const std::shared_ptr<entry::CLSFA_AGGANCI>& program);

    // --- The user ---
    // Queues the script for the next modal show of the form of that name.
    void WhenShown(const std::string& formName, UserScript script);
    // Runs the script on the open form now. False when an action failed (see Failures). Error 5 when no
    // form of that name is open.
    bool Act(const std::string& formName, const UserScript& script);
    // The open form of that name (Nothing when none is open).
    std::shared_ptr<entry::Form> OpenForm(const std::string& formName) const;
    // A control of an open form as the shell's class (Nothing when there is no such control).
    template <class C>
    std::shared_ptr<C> ControlOf(const std::string& formName, const std::string& control) const {
        auto form = OpenForm(formName);
        return form ? std::dynamic_pointer_cast<C>(form->Control(control)) : nullptr;
    }
    // What the user could not do, and errors that reached the shell from a form, one line each.
    const std::vector<std::string>& Failures() const { return failures_; }
    void ClearFailures() { failures_.clear(); }

    // --- The session ---
    const std::shared_ptr<ScriptedMessageService>& Messages() const { return host_->Messages(); }
    const std::shared_ptr<Navigator>& GetNavigator() const { return navigator_; }
    const std::shared_ptr<GlobalObject>& Global() const { return global_; }
    const db::ConnectionPtr& Connection() const { return connection_; }
    const std::shared_ptr<controls::StatusBar>& GetStatusBar() const { return statusBar_; }
    // The open connection for a connection string: a program's (the connection its form works on) or
    // the session's; Nothing when none has that string.
    db::ConnectionPtr ResolveConnection(const std::string& connectionString) const;

    // A maker tried before the shell's own controls (a command line drawing the progress bar on the
    // terminal, say); when it gives nothing, the shell's control is made.
    using ControlMaker = std::function<std::shared_ptr<entry::IControl>(entry::ControlKind, const std::string&)>;
    void SetControlMaker(ControlMaker maker) { controlMaker_ = std::move(maker); }

    // --- entry::IShell ---
    std::shared_ptr<entry::IControl> CreateControl(entry::ControlKind kind, const std::string& name) override;
    std::shared_ptr<entry::ILookupService> CreateLookupService(entry::ServiceArea area) override;
    std::shared_ptr<entry::IDecodeService> CreateDecodeService(entry::ServiceArea area) override;
    void FormShown(entry::Form& form) override;
    void RunModal(entry::Form& form) override;
    void FormUnloaded(entry::Form& form) override;

private:
    HeadlessShell(const std::string& connectionString, long ditta);
    void Install();
    bool RunScript(entry::Form& form, const UserScript& script);
    void Failure(const std::string& line) { failures_.push_back(line); }

    db::ConnectionPtr connection_;
    std::shared_ptr<GlobalObject> global_;
    std::shared_ptr<Navigator> navigator_;
    std::shared_ptr<controls::StatusBar> statusBar_;
    std::shared_ptr<ShellHost> host_;
    std::shared_ptr<entry::IShell> installed_;
    std::vector<std::weak_ptr<entry::CLSFA_AGGANCI>> programs_;
    std::vector<std::weak_ptr<entry::Form>> openForms_;
    std::vector<std::pair<std::string, UserScript>> pendingScripts_;
    std::vector<std::string> failures_;
    ControlMaker controlMaker_;
};

}  // namespace host
