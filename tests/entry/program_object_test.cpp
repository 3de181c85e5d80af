// The program object as the shell drives it: defaults, the program interface's stored values, the
// navigator's events, the window it shows and closes, its trace lines and the order of its releases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "db/Connection.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/NavigatorModels.h"

using db::Variant;
using db::VarType;
using entry::CLSFA_AGGANCI;

namespace {

using Log = std::shared_ptr<std::vector<std::string>>;

struct ShownBox {
    std::string text;
    long style;
    std::string title;
};

class RecordingMessages : public entry::IMessageService {
public:
    std::vector<ShownBox> boxes;
    void Initialize(const std::shared_ptr<entry::Cinterface>&) override {}
    long MsgBox(const std::string& text, long style, const std::string& title, bool, long) override {
        boxes.push_back({text, style, title});
        return 1;
    }
    void SetError(const db::Error&) override {}
    void SetConnectionErrors(const std::vector<db::Error>&) override {}
    long ShowErrorBox(const std::string&, const std::string&, const std::string&, long) override { return 3; }
};

// The links form as the program object sees it: it records how it was shown and, as the real form
// does, clears its program references when it unloads, unless its unload is refused.
class FakeLinksForm : public entry::ILinksForm {
public:
    bool refuseUnload = false;
    std::vector<long> shows;
    int unloads = 0;

    FakeLinksForm() { Gcls_Log = std::make_shared<RecordingMessages>(); }
    RecordingMessages& Messages() { return static_cast<RecordingMessages&>(*Gcls_Log); }
    void ShowRecorded(long style) { shows.push_back(style); }

protected:
    void Form_Activate() override {}
    void Form_QueryUnload(bool& cancel, int) override { cancel = refuseUnload; }
    void Form_Unload(bool&) override {
        ++unloads;
        ActiveClass.reset();
        ActiveInterface.reset();
    }
};

// Registers a factory of fake forms for one test and keeps the last form made.
class FormFactoryScope {
public:
    explicit FormFactoryScope(Log log = nullptr) {
        entry::RegisterLinksForm([this, log]() -> std::shared_ptr<entry::ILinksForm> {
            std::shared_ptr<FakeLinksForm> form;
            if (log)
                form = std::shared_ptr<FakeLinksForm>(new FakeLinksForm, [log](FakeLinksForm* f) {
                    log->push_back("form");
                    delete f;
                });
            else
                form = std::make_shared<FakeLinksForm>();
            last = form;
            made.push_back(form);
            return form;
        });
    }
    // A form still open holds its program (ActiveClass), as the real one does until it unloads: the
    // windows a test left open are closed here, as the shell would.
    ~FormFactoryScope() {
        entry::RegisterLinksForm(nullptr);
        for (const auto& weak : made)
            if (auto form = weak.lock()) {
                form->refuseUnload = false;
                form->Unload();
            }
    }
    std::shared_ptr<FakeLinksForm> Last() const { return last.lock(); }

private:
    std::weak_ptr<FakeLinksForm> last;
    std::vector<std::weak_ptr<FakeLinksForm>> made;
};

class FakeGlobal : public entry::IClsGlobal {
public:
    Log calls = std::make_shared<std::vector<std::string>>();
    const entry::Cinterface* deregistered = nullptr;
    std::string ConnectionString() const override { return "sqlite::memory:"; }
    std::string DittaCorrente() const override { return "1"; }
    std::string VarianteColore() const override { return {}; }
    std::string UtenteDescrizione() const override { return {}; }
    std::string CartellaLog() const override { return {}; }
    Variant Impostazione(const std::string&) const override { return {}; }
    void Deregistra(const std::shared_ptr<entry::Cinterface>& program) override {
        calls->push_back("global.Deregistra");
        deregistered = program.get();
    }
};

class FakeLayout : public entry::IFormLayoutModel {
public:
    std::vector<std::string> names;
    db::ObjectPtr handBack;
    bool handBackGiven = false;
    db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name) override {
        names.push_back(name);
        return handBackGiven ? handBack : form;
    }
    void ApplicaLayout(const std::string&) override {}
};

class FakeScript : public entry::IFormScriptModel {
public:
    std::vector<std::string> added;
    db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name, const std::string& caption) override {
        added.push_back(name + "|" + caption);
        return form;
    }
    bool QueryClose() override { return false; }
    void FormEvent(const std::string&, bool) override {}
    void Remove(const std::string&) override {}
};

class FakeNavigator : public entry::IFormNavigator {
public:
    Log calls;
    std::vector<std::weak_ptr<entry::INavigatorEvents>> sinks;
    std::vector<const entry::INavigatorEvents*> unadvised;
    explicit FakeNavigator(Log log = std::make_shared<std::vector<std::string>>()) : calls(std::move(log)) {}

    void Deregistra(const std::shared_ptr<entry::Cinterface>&) override { calls->push_back("navigator.Deregistra"); }
    std::shared_ptr<entry::IScriptObjectModel> ScriptObjectModel() override { return nullptr; }
    void Advise(const std::shared_ptr<entry::INavigatorEvents>& sink) override { sinks.push_back(sink); }
    void Unadvise(const entry::INavigatorEvents* sink) override {
        unadvised.push_back(sink);
        std::erase_if(sinks, [&](const auto& s) { return s.lock().get() == sink || s.expired(); });
    }
    std::shared_ptr<entry::IFormLayoutModel> LayoutModel() override { return nullptr; }
    std::shared_ptr<entry::IFormScriptModel> PreparaScriptModel() override { return nullptr; }
    std::shared_ptr<entry::IFormScriptModel> ScriptModel() override { return nullptr; }
    void FormChiuso(const std::string&) override {}

    bool RaiseBeforeChangeDitta(bool cancel) {
        for (auto& s : sinks)
            if (auto sink = s.lock()) sink->BeforeChangeDitta(cancel);
        return cancel;
    }
};

// A program interface of another object, as a shell may put in place of the program itself.
class OtherProgram : public entry::CinterfaceBase {};

class RecordingSink : public entry::CLSFA_AGGANCI_Events {
public:
    std::vector<Variant> received;
    void DataTransfer(Variant& Data) override { received.push_back(Data); }
};

template <class T>
std::shared_ptr<T> Observed(Log log, std::string name, std::shared_ptr<T> object) {
    return std::shared_ptr<T>(object.get(), [log, name, object](T*) mutable {
        log->push_back(name);
        object.reset();
    });
}

}  // namespace

TEST(ProgramObject, NewInstanceHasTheDocumentedDefaults) {
    auto program = CLSFA_AGGANCI::Create();
    EXPECT_EQ(program->Tab_Attivo(), entry::Util_Agganci);
    EXPECT_EQ(program->TipoAnagrafica(), entry::KvEnumTipoAnagraficaArticoli_Estesa);
    EXPECT_FALSE(program->DuplicazioneAvvenuta());
    EXPECT_FALSE(program->InvocaGestione());
    EXPECT_FALSE(program->InvocaGestioneArticoliClienti());
    EXPECT_FALSE(program->InvocaGestioneArticoliFornitori());
    EXPECT_FALSE(program->InvocaGestioneParamGestScorte());
    for (const Variant& code : {program->Articolo_Origine(), program->Articolo_Destinazione()}) {
        EXPECT_EQ(code.Type(), VarType::String);
        EXPECT_EQ(code.CStr(), "");
    }
    EXPECT_FALSE(program->CanInsert() || program->CanDelete() || program->CanUpdate() || program->CanQbe());
    EXPECT_FALSE(program->IsActive() || program->IsCalled() || program->WindowModal());
    EXPECT_EQ(program->WindowState(), 0);
    EXPECT_EQ(program->ProgramMode(), 0);
    EXPECT_EQ(program->hwndParent(), 0);
    EXPECT_TRUE(program->Caption().IsEmpty());
    EXPECT_TRUE(program->Filtro().IsEmpty());
    EXPECT_EQ(program->Top().Type(), VarType::Long);
    // The program interface is the instance itself.
    EXPECT_EQ(program->ActiveDll().get(), static_cast<entry::Cinterface*>(program.get()));
}

TEST(ProgramObject, StoredValuesOfTheProgramInterface) {
    auto program = CLSFA_AGGANCI::Create();

    program->Top(Variant("120"));
    EXPECT_EQ(program->Top().Type(), VarType::Long);
    EXPECT_EQ(program->Top().CLng(), 120);
    program->Top(Variant("not a number"));  // ignored: the previous value stays
    EXPECT_EQ(program->Top().CLng(), 120);
    program->Left(Variant(2.5));
    EXPECT_EQ(program->Left().CLng(), 2);  // rounded half to even

    program->WindowState(2);
    program->WindowState(70000);  // outside 16 bits: not stored
    program->WindowState(-40000);
    EXPECT_EQ(program->WindowState(), 2);
    program->ProgramMode(-32768);
    program->ProgramMode(32768);
    EXPECT_EQ(program->ProgramMode(), -32768);

    EXPECT_EQ(program->Cwindow(), nullptr);
    EXPECT_TRUE(program->TransferData(Variant("x")).IsEmpty());
}

TEST(ProgramObject, TransferDataRaisesDataTransferWithTheValue) {
    auto program = CLSFA_AGGANCI::Create();
    auto sink = std::make_shared<RecordingSink>();
    program->Advise(sink);
    EXPECT_TRUE(program->TransferData(Variant(42)).IsEmpty());
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].CLng(), 42);
    program->Unadvise(sink);
    program->TransferData(Variant(1));
    EXPECT_EQ(sink->received.size(), 1u);
}

TEST(ProgramObject, ShowFormHandsTheFormItsReferencesAndShowsIt) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->WindowState(2);
    program->Caption(Variant(123));
    program->WindowModal(true);

    EXPECT_TRUE(program->ShowForm().IsEmpty());
    auto form = forms.Last();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->ActiveInterface.get(), static_cast<entry::Cinterface*>(program.get()));
    EXPECT_EQ(form->ActiveClass, program);
    EXPECT_EQ(form->WindowState(), 2);
    EXPECT_EQ(form->Caption(), "123");
    EXPECT_TRUE(form->Loaded());
    EXPECT_TRUE(form->Modal());
    EXPECT_EQ(program->LinksForm(), form);

    program->WindowModal(false);
    program->ShowForm();
    EXPECT_FALSE(forms.Last()->Modal());
    EXPECT_NE(forms.Last(), form);  // a new form every time
}

TEST(ProgramObject, ShowFormWithAnotherProgramInterfaceLeavesActiveClassUnset) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    auto other = std::make_shared<OtherProgram>();
    program->ActiveDll(other);
    program->Caption(Variant("Duplicazione"));

    program->ShowForm();
    auto form = forms.Last();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->ActiveInterface, other);
    EXPECT_EQ(form->ActiveClass, nullptr);
    // The failed cast is skipped; the rest of ShowForm still runs.
    EXPECT_EQ(form->Caption(), "Duplicazione");
    EXPECT_TRUE(form->Loaded());
}

TEST(ProgramObject, ShowAndCloseWithoutAFormRaiseNothing) {
    entry::RegisterLinksForm(nullptr);
    auto program = CLSFA_AGGANCI::Create();
    EXPECT_TRUE(program->ShowForm().IsEmpty());
    EXPECT_EQ(program->LinksForm(), nullptr);
    Variant closed = program->CloseForm();
    EXPECT_EQ(closed.Type(), VarType::Boolean);
    EXPECT_TRUE(closed.CBool());
}

TEST(ProgramObject, CloseFormDeregistersThenUnloadsTheForm) {
    FormFactoryScope forms;
    auto calls = std::make_shared<std::vector<std::string>>();
    auto global = std::make_shared<FakeGlobal>();
    global->calls = calls;
    auto navigator = std::make_shared<FakeNavigator>(calls);
    auto program = CLSFA_AGGANCI::Create();
    program->ClsGlobal(global);
    program->ActiveNavigator(navigator);
    program->ShowForm();
    auto form = forms.Last();

    Variant closed = program->CloseForm();
    EXPECT_TRUE(closed.CBool());
    EXPECT_EQ(*calls, (std::vector<std::string>{"global.Deregistra", "navigator.Deregistra"}));
    EXPECT_EQ(global->deregistered, static_cast<entry::Cinterface*>(program.get()));
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(form->unloads, 1);
}

TEST(ProgramObject, CloseFormIsFalseWhenTheFormRefusesAndTheFormStays) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    auto form = forms.Last();
    form->refuseUnload = true;

    Variant closed = program->CloseForm();  // no global object, no navigator: those steps are skipped
    EXPECT_EQ(closed.Type(), VarType::Boolean);
    EXPECT_FALSE(closed.CBool());
    EXPECT_TRUE(form->Loaded());
    EXPECT_EQ(form->unloads, 0);
    EXPECT_NE(form->ActiveInterface, nullptr);

    form->refuseUnload = false;
    EXPECT_TRUE(program->CloseForm().CBool());
}

TEST(ProgramObject, BeforeChangeDittaAlwaysCancelsAndTellsTheUser) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    auto& messages = forms.Last()->Messages();

    bool cancel = true;
    program->BeforeChangeDitta(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(messages.boxes.empty());

    for (bool active : {false, true}) {
        program->IsActive(active);
        cancel = false;
        program->BeforeChangeDitta(cancel);
        EXPECT_TRUE(cancel) << "active " << active;
    }
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[0].text, "Il cambio ditta è consentito solo dopo la chiusura del programma in uso!");
    EXPECT_EQ(messages.boxes[0].style, 64);
    EXPECT_EQ(messages.boxes[0].title, "Informazione");
}

TEST(ProgramObject, BeforeChangeDittaWithoutAFormStillCancels) {
    auto program = CLSFA_AGGANCI::Create();
    bool cancel = false;
    program->BeforeChangeDitta(cancel);  // no form, no message service: the message is skipped
    EXPECT_TRUE(cancel);
}

TEST(ProgramObject, BeforeExportToOfficeActsOnlyWhenActive) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    auto& messages = forms.Last()->Messages();

    bool cancel = false;
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(messages.boxes.empty());

    program->IsActive(true);
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_TRUE(cancel);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "Il programma non prevede il trasferimento dati in MsOffice !!!");
    EXPECT_EQ(messages.boxes[0].style, 64);
    EXPECT_EQ(messages.boxes[0].title, "Informazione");
}

TEST(ProgramObject, ActivityIsAskedOfTheStoredProgramInterface) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    program->IsActive(true);
    auto other = std::make_shared<OtherProgram>();  // not active
    program->ActiveDll(other);

    bool cancel = false;
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_FALSE(cancel);

    program->ActiveDll(nullptr);  // nobody to ask: not active, nothing done
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_FALSE(cancel);
}

TEST(ProgramObject, LayoutAndScriptModelsReceiveTheFormWhenActive) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    auto form = forms.Last();
    form->Caption("Agganci");
    auto layout = std::make_shared<FakeLayout>();
    auto script = std::make_shared<FakeScript>();

    program->InitializeLayoutObjectModel(layout);
    program->InitializeScriptObjectModel(script);
    EXPECT_TRUE(layout->names.empty());
    EXPECT_TRUE(script->added.empty());

    program->IsActive(true);
    program->InitializeLayoutObjectModel(layout);
    program->InitializeScriptObjectModel(script);
    EXPECT_EQ(layout->names, std::vector<std::string>{"Parametri"});
    EXPECT_EQ(script->added, std::vector<std::string>{"FRMFA_AGGANCI|Agganci"});

    // The reference the model hands back replaces the stored one.
    auto replacement = std::make_shared<FakeLinksForm>();
    layout->handBackGiven = true;
    layout->handBack = replacement;
    program->InitializeLayoutObjectModel(layout);
    EXPECT_EQ(program->LinksForm(), replacement);
    // Nothing handed back keeps the form the program has.
    layout->handBack = nullptr;
    program->InitializeLayoutObjectModel(layout);
    EXPECT_EQ(program->LinksForm(), replacement);
}

TEST(ProgramObject, SubscribesToTheNavigatorItIsGiven) {
    auto first = std::make_shared<FakeNavigator>();
    auto second = std::make_shared<FakeNavigator>();
    const entry::INavigatorEvents* asSink = nullptr;
    {
        auto program = CLSFA_AGGANCI::Create();
        asSink = program.get();
        program->ActiveNavigator(first);
        EXPECT_EQ(program->ActiveNavigator(), first);
        ASSERT_EQ(first->sinks.size(), 1u);
        EXPECT_TRUE(first->RaiseBeforeChangeDitta(false));  // the program cancels the change

        program->ActiveNavigator(second);
        EXPECT_TRUE(first->sinks.empty());
        EXPECT_EQ(second->sinks.size(), 1u);
    }
    // The end of the program ends its subscription.
    EXPECT_EQ(second->unadvised, std::vector<const entry::INavigatorEvents*>{asSink});
    EXPECT_FALSE(second->RaiseBeforeChangeDitta(false));
}

TEST(ProgramObject, ReleasesItsReferencesInOrderWhenItEnds) {
    auto log = std::make_shared<std::vector<std::string>>();
    FormFactoryScope forms(log);
    {
        auto program = CLSFA_AGGANCI::Create();
        program->ClsVoceMenu(Observed(log, "menu item", std::make_shared<db::Object>()));
        program->Connection(Observed(log, "connection", db::Connection::Create()));
        program->ClsGlobal(Observed<entry::IClsGlobal>(log, "global object", std::make_shared<FakeGlobal>()));
        program->ActiveNavigator(Observed<entry::INavigator>(log, "navigator", std::make_shared<FakeNavigator>()));
        program->ActiveFrame(Observed(log, "active frame", std::make_shared<db::Object>()));
        program->StatusBar(Observed(log, "status bar", std::make_shared<db::Object>()));
        program->ActiveDll(Observed<entry::Cinterface>(log, "program interface", std::make_shared<OtherProgram>()));
        program->ShowForm();
        EXPECT_TRUE(log->empty());
    }
    EXPECT_EQ(*log, (std::vector<std::string>{"form", "status bar", "active frame", "connection", "menu item",
                                              "global object", "navigator", "program interface"}));
}

TEST(ProgramObject, WritesOneCreationAndOneEndLineWithTheSameId) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("program_trace_" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(path);
    ::setenv("AGGANCI_DEBUG_OUTPUT", path.c_str(), 1);
    { auto first = CLSFA_AGGANCI::Create(); }
    { auto second = CLSFA_AGGANCI::Create(); }
    ::unsetenv("AGGANCI_DEBUG_OUTPUT");

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::filesystem::remove(path);

    ASSERT_EQ(lines.size(), 4u);
    auto idOf = [](const std::string& line) { return line.substr(6, 32); };
    for (int i : {0, 2}) {
        EXPECT_EQ(lines[i], "KVGE:|" + idOf(lines[i]) + "|INI|Vintrello|CLSFA_AGGANCI");
        EXPECT_EQ(lines[i + 1], "KVGE:|" + idOf(lines[i]) + "|TER|Vintrello|CLSFA_AGGANCI");
        EXPECT_EQ(idOf(lines[i]).find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
    EXPECT_NE(idOf(lines[0]), idOf(lines[2]));
}

namespace {

// A form that records its lifecycle events; its unload handlers refuse when told to.
class LifecycleForm : public entry::ILinksForm {
public:
    Log log = std::make_shared<std::vector<std::string>>();
    bool refuseQuery = false, refuseUnload = false;
    void Add(const std::shared_ptr<entry::IControl>& control) { AddControl(control); }

protected:
    void Form_Load() override { log->push_back("Load"); }
    void Form_Activate() override { log->push_back("Activate"); }
    void Form_QueryUnload(bool& cancel, int mode) override {
        log->push_back("QueryUnload " + std::to_string(mode));
        cancel = refuseQuery;
    }
    void Form_Unload(bool& cancel) override {
        log->push_back("Unload");
        cancel = refuseUnload;
    }
};

}  // namespace

TEST(FormLifecycle, LoadsOnceActivatesOnEveryShowAndUnloadsUnlessRefused) {
    auto form = std::make_shared<LifecycleForm>();
    form->Show(entry::vbModeless);
    form->Show(entry::vbModeless);
    EXPECT_EQ(*form->log, (std::vector<std::string>{"Load", "Activate", "Activate"}));
    EXPECT_TRUE(form->Visible());

    form->log->clear();
    form->refuseQuery = true;
    EXPECT_FALSE(form->Unload());
    form->refuseQuery = false;
    form->refuseUnload = true;
    EXPECT_FALSE(form->Unload(entry::vbFormControlMenu));
    EXPECT_TRUE(form->Loaded());
    form->refuseUnload = false;
    EXPECT_TRUE(form->Unload());
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->Unload());  // nothing left to unload
    EXPECT_EQ(*form->log, (std::vector<std::string>{"QueryUnload 1", "QueryUnload 0", "Unload", "QueryUnload 1",
                                                    "Unload"}));

    form->Show(entry::vbModeless);  // a new load after an unload
    EXPECT_EQ(form->log->back(), "Activate");
    EXPECT_EQ((*form->log)[form->log->size() - 2], "Load");
}

TEST(FormLifecycle, ModalShowWithoutAShellReturnsWithTheFormStillLoaded) {
    entry::SetShell(nullptr);
    auto form = std::make_shared<LifecycleForm>();
    form->Show(entry::vbModal);
    EXPECT_TRUE(form->Loaded());
    EXPECT_TRUE(form->Modal());
}

TEST(FormLifecycle, ControlNamesAreUniqueOnAForm) {
    class Named : public entry::ILabel {
    public:
        explicit Named(std::string n) : name(std::move(n)) {}
        std::string name;
        entry::ControlKind Kind() const override { return kKind; }
        const std::string& Name() const override { return name; }
        bool Enabled() const override { return true; }
        void Enabled(bool) override {}
        bool Visible() const override { return true; }
        void Visible(bool) override {}
        Variant Tag() const override { return {}; }
        void Tag(const Variant&) override {}
        long Left() const override { return 0; }
        long Top() const override { return 0; }
        long Width() const override { return 0; }
        long Height() const override { return 0; }
        void Move(long, long, long, long) override {}
        std::shared_ptr<entry::IFrame> Container() const override { return nullptr; }
        void Container(const std::shared_ptr<entry::IFrame>&) override {}
        bool Reachable() const override { return true; }
        void Scope(const std::shared_ptr<entry::FocusScope>& s) override { scope = s; }
        void SetFocus() override {}
        bool HasFocus() const override { return false; }
        entry::Event<>& GotFocus() override { return event; }
        entry::Event<>& LostFocus() override { return event; }
        Variant Option(const std::string&) const override { return {}; }
        void Option(const std::string&, const Variant&) override {}
        void Terminate() override {}
        std::string Caption() const override { return {}; }
        void Caption(const std::string&) override {}
        std::shared_ptr<entry::FocusScope> scope;
        entry::Event<> event;
    };
    auto form = std::make_shared<LifecycleForm>();
    auto label = std::make_shared<Named>("LBL_MODELLO");
    form->Add(label);
    EXPECT_EQ(label->scope, form->Focus());
    EXPECT_EQ(form->Control("lbl_modello"), label);
    EXPECT_EQ(form->ControlAs<entry::ILabel>("LBL_MODELLO"), label);
    EXPECT_EQ(form->Control("LBL_ALTRO"), nullptr);
    try {
        form->Add(std::make_shared<Named>("LBL_Modello"));
        FAIL();
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 35602);
    }
}
