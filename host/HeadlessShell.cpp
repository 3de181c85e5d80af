#include "host/HeadlessShell.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "db/Error.h"
#include "entry/ErrorHandler.h"
#include "host/LookupServices.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ComboBox.h"
#include "host/controls/ControlFactory.h"
#include "host/controls/DataNavigator.h"
#include "host/controls/Grid.h"
#include "host/controls/LookupTextBox.h"
#include "host/controls/ResizeControl.h"
#include "host/controls/SideBar.h"

namespace host {

namespace {

// The component holds the installed shell for the whole process; the test or the command line owns
// the HeadlessShell. The component therefore gets this forwarder, which does not keep the shell alive.
class ShellForwarder : public entry::IShell {
public:
    explicit ShellForwarder(std::weak_ptr<HeadlessShell> shell) : shell_(std::move(shell)) {}
    std::shared_ptr<entry::IControl> CreateControl(entry::ControlKind kind, const std::string& name) override {
        return Get().CreateControl(kind, name);
    }
    std::shared_ptr<entry::ILookupService> CreateLookupService(entry::ServiceArea area) override {
        return Get().CreateLookupService(area);
    }
    std::shared_ptr<entry::IDecodeService> CreateDecodeService(entry::ServiceArea area) override {
        return Get().CreateDecodeService(area);
    }
    void FormShown(entry::Form& form) override { Get().FormShown(form); }
    void RunModal(entry::Form& form) override { Get().RunModal(form); }
    void FormUnloaded(entry::Form& form) override {
        if (auto shell = shell_.lock()) shell->FormUnloaded(form);
    }

private:
    HeadlessShell& Get() {
        auto shell = shell_.lock();
        if (!shell) throw entry::OggettoNonDisponibile("shell");
        return *shell;
    }
    std::weak_ptr<HeadlessShell> shell_;
};

template <class C>
C& Find(entry::Form& form, const std::string& name) {
    auto control = form.Control(name);
    if (!control) throw db::Error(db::errc::ItemNotFound, "The form " + form.Name() + " has no control " + name);
    auto* typed = dynamic_cast<C*>(control.get());
    if (!typed) throw db::Error(db::errc::TypeMismatch, "The control " + name + " cannot do that");
    return *typed;
}

std::string Describe(const std::string& verb, const std::string& control, const std::string& what = {}) {
    return what.empty() ? verb + " " + control : verb + " " + control + " " + what;
}

}  // namespace

// --- UserScript ---

UserScript& UserScript::Type(const std::string& control, const std::string& text) {
    return Do(Describe("type into", control, "\"" + text + "\""), [control, text](entry::Form& form, HeadlessShell&) {
        auto c = form.Control(control);
        if (auto lookup = std::dynamic_pointer_cast<controls::LookupTextBox>(c)) return lookup->UserType(text);
        Find<controls::TextBox>(form, control).UserType(text);
    });
}

UserScript& UserScript::Pick(const std::string& control, const std::string& code) {
    return Do(Describe("pick from", control, "\"" + code + "\""), [control, code](entry::Form& form, HeadlessShell&) {
        Find<controls::LookupTextBox>(form, control).UserPick(code);
    });
}

UserScript& UserScript::Click(const std::string& control) {
    return Do(Describe("click", control), [control](entry::Form& form, HeadlessShell&) {
        auto c = form.Control(control);
        if (auto check = std::dynamic_pointer_cast<controls::CheckBox>(c)) return check->UserClick();
        Find<controls::Button>(form, control).UserClick();
    });
}

UserScript& UserScript::Choose(const std::string& control, const std::string& caption) {
    return Do(Describe("choose in", control, "\"" + caption + "\""), [control, caption](entry::Form& form, HeadlessShell&) {
        Find<controls::ComboBox>(form, control).UserChoose(caption);
    });
}

UserScript& UserScript::SelectItem(const std::string& sideBar, const std::string& group, const std::string& item) {
    return Do(Describe("select", sideBar, group + "/" + item), [=](entry::Form& form, HeadlessShell&) {
        Find<controls::SideBar>(form, sideBar).UserClickItem(group, item);
    });
}

UserScript& UserScript::SelectRow(const std::string& grid, long row) {
    return Do(Describe("select row of", grid, std::to_string(row)), [=](entry::Form& form, HeadlessShell&) {
        Find<controls::Grid>(form, grid).UserSelectRow(row);
    });
}

UserScript& UserScript::Tick(const std::string& grid, long row, const std::string& field) {
    return Do(Describe("tick", grid, field + " of row " + std::to_string(row)), [=](entry::Form& form, HeadlessShell&) {
        Find<controls::Grid>(form, grid).UserTickCell(row, field);
    });
}

UserScript& UserScript::EditCell(const std::string& grid, long row, const std::string& field, const db::Variant& value) {
    return Do(Describe("edit", grid, field + " of row " + std::to_string(row)), [=](entry::Form& form, HeadlessShell&) {
        Find<controls::Grid>(form, grid).UserEditCell(row, field, value);
    });
}

UserScript& UserScript::Press(const std::string& navigator, const std::string& button) {
    return Do(Describe("press", navigator, button), [=](entry::Form& form, HeadlessShell&) {
        Find<controls::DataNavigator>(form, navigator).UserPress(button);
    });
}

UserScript& UserScript::Resize(long width, long height) {
    return Do("resize the window", [=](entry::Form& form, HeadlessShell&) {
        for (const auto& control : form.Controls())
            if (auto resize = std::dynamic_pointer_cast<controls::ResizeControl>(control)) {
                resize->UserResize(width, height);
                return;
            }
        throw db::Error(db::errc::ItemNotFound, "The form " + form.Name() + " has no resize control");
    });
}

UserScript& UserScript::Key(int keyCode) {
    return Do("press key " + std::to_string(keyCode), [keyCode](entry::Form& form, HeadlessShell&) {
        int code = keyCode;
        form.KeyDown(code, 0);
    });
}

UserScript& UserScript::Answer(long answer) {
    return Do("answer " + std::to_string(answer), [answer](entry::Form&, HeadlessShell& shell) {
        shell.Messages()->MessageAnswers().Push(answer);
    });
}

UserScript& UserScript::AnswerError(long answer) {
    return Do("answer the error box " + std::to_string(answer), [answer](entry::Form&, HeadlessShell& shell) {
        shell.Messages()->ErrorBoxAnswers().Push(answer);
    });
}

UserScript& UserScript::Close() {
    return Do("close the window", [](entry::Form& form, HeadlessShell&) { form.Unload(entry::vbFormControlMenu); });
}

UserScript& UserScript::Do(std::string description, Action action) {
    steps_.push_back({std::move(description), std::move(action)});
    return *this;
}

// --- HeadlessShell ---

HeadlessShell::HeadlessShell(const std::string& connectionString, long ditta) {
    connection_ = db::Connection::Create();
    connection_->Open(connectionString);
    global_ = std::make_shared<GlobalObject>(connectionString, ditta, *connection_);
    navigator_ = std::make_shared<Navigator>();
    statusBar_ = std::make_shared<controls::StatusBar>();
    host_ = std::make_shared<ShellHost>();
}

std::shared_ptr<HeadlessShell> HeadlessShell::Start(const std::string& connectionString, long ditta) {
    std::shared_ptr<HeadlessShell> shell(new HeadlessShell(connectionString, ditta));
    shell->Install();
    return shell;
}

void HeadlessShell::Install() {
    installed_ = std::make_shared<ShellForwarder>(weak_from_this());
    entry::SetHost(host_);
    entry::SetShell(installed_);
}

HeadlessShell::~HeadlessShell() {
    // The session ends: the ERP closes every program still open, so that each form runs its unload and
    // lets go of its program (a form and its program hold each other while the window is open).
    for (const auto& weak : programs_)
        if (auto program = weak.lock()) program->CloseForm();
    if (entry::CurrentShell() == installed_.get()) entry::SetShell(nullptr);
    try {
        if (&entry::Host() == host_.get()) entry::SetHost(nullptr);
    } catch (const db::Error&) {
        // No host installed any more: nothing of ours to remove.
    }
}

std::shared_ptr<entry::CLSFA_AGGANCI> HeadlessShell::CreaProgramma(const ProgramRequest& request) {
    auto program = entry::CLSFA_AGGANCI::Create();
    global_->Registra(program);
    navigator_->Registra(program);
    program->ClsGlobal(global_);
    program->ActiveNavigator(navigator_);
    program->Connection(connection_);
    program->StatusBar(statusBar_);
    program->ClsVoceMenu(std::make_shared<db::Object>());
    program->CanInsert(true);
    program->CanDelete(true);
    program->CanUpdate(true);
    program->CanQbe(true);
    program->IsActive(true);
    program->IsCalled(request.called);
    program->WindowModal(request.modal);
    program->WindowState(request.windowState);
    program->ProgramMode(request.programMode);
    program->Caption(db::Variant(request.caption));
    program->Articolo_Origine(request.articoloOrigine);
    program->Tab_Attivo(request.tabAttivo);
    program->TipoAnagrafica(request.tipoAnagrafica);
    program->InvocaGestione(request.invocaGestione);
    programs_.push_back(program);
    return program;
}

std::shared_ptr<entry::CLSFA_AGGANCI> HeadlessShell::Apri(const ProgramRequest& request) {
    auto program = CreaProgramma(request);
    program->ShowForm();
    return program;
}

bool HeadlessShell::Chiudi(const std::shared_ptr<entry::CLSFA_AGGANCI>& program) {
    if (!program) throw db::Error(db::errc::ObjectRequired);
    const db::Variant closed = program->CloseForm();
    return !closed.IsEmpty() && closed.CBool();
}

void HeadlessShell::WhenShown(const std::string& formName, UserScript script) {
    pendingScripts_.emplace_back(formName, std::move(script));
}

bool HeadlessShell::Act(const std::string& formName, const UserScript& script) {
    auto form = OpenForm(formName);
    if (!form) throw db::Error(db::errc::InvalidProcedureCall, "No form " + formName + " is open");
    return RunScript(*form, script);
}

std::shared_ptr<entry::Form> HeadlessShell::OpenForm(const std::string& formName) const {
    for (auto it = openForms_.rbegin(); it != openForms_.rend(); ++it)
        if (auto form = it->lock(); form && form->Loaded() && db::SameText(form->Name(), formName)) return form;
    return nullptr;
}

db::ConnectionPtr HeadlessShell::ResolveConnection(const std::string& connectionString) const {
    auto usable = [&](const db::ConnectionPtr& c) {
        return c && c->State() == db::adStateOpen && (connectionString.empty() || c->ConnectionString() == connectionString);
    };
    // The program's connection first: it is the one the form works on, inside its transactions.
    for (auto it = programs_.rbegin(); it != programs_.rend(); ++it)
        if (auto program = it->lock(); program && usable(program->Connection())) return program->Connection();
    return usable(connection_) ? connection_ : nullptr;
}

std::shared_ptr<entry::IControl> HeadlessShell::CreateControl(entry::ControlKind kind, const std::string& name) {
    if (controlMaker_)
        if (auto made = controlMaker_(kind, name)) return made;
    std::weak_ptr<HeadlessShell> self = weak_from_this();
    return controls::NewControl(kind, name, [self](const std::string& connectionString) -> db::ConnectionPtr {
        auto shell = self.lock();
        return shell ? shell->ResolveConnection(connectionString) : nullptr;
    });
}

std::shared_ptr<entry::ILookupService> HeadlessShell::CreateLookupService(entry::ServiceArea area) {
    return std::make_shared<LookupService>(area);
}

std::shared_ptr<entry::IDecodeService> HeadlessShell::CreateDecodeService(entry::ServiceArea area) {
    return std::make_shared<DecodeService>(area);
}

void HeadlessShell::FormShown(entry::Form& form) {
    std::erase_if(openForms_, [&](const std::weak_ptr<entry::Form>& f) {
        auto held = f.lock();
        return !held || held.get() == &form;
    });
    openForms_.push_back(form.weak_from_this());
}

void HeadlessShell::FormUnloaded(entry::Form& form) {
    std::erase_if(openForms_, [&](const std::weak_ptr<entry::Form>& f) {
        auto held = f.lock();
        return !held || held.get() == &form;
    });
}

void HeadlessShell::RunModal(entry::Form& form) {
    UserScript script;
    const auto pending = std::find_if(pendingScripts_.begin(), pendingScripts_.end(),
                                      [&](const auto& p) { return db::SameText(p.first, form.Name()); });
    if (pending != pendingScripts_.end()) {
        script = std::move(pending->second);
        pendingScripts_.erase(pending);
    }
    RunScript(form, script);
    // The user is done: the window is closed. Nobody is left to try again, so a refusal ends the show
    // with the form still loaded rather than waiting for ever.
    if (form.Loaded() && !form.Unload(entry::vbFormControlMenu))
        Failure(form.Name() + ": the modal window refused to close");
}

bool HeadlessShell::RunScript(entry::Form& form, const UserScript& script) {
    for (const auto& step : script.Steps()) {
        if (!form.Loaded()) {
            Failure(form.Name() + ": " + step.description + ": the window is already closed");
            return false;
        }
        try {
            step.action(form, *this);
        } catch (...) {
            const db::Error error = entry::ToError(std::current_exception(), form.Name());
            Failure(form.Name() + ": " + step.description + ": " + error.Description());
            return false;
        }
    }
    return true;
}

}  // namespace host
