// The program object as the shell drives it: the window it shows and closes, the changes it refuses and
// the messages it shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeHost.h"
#include "db/Connection.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/NavigatorModels.h"

using db::Variant;
using entry::CLSFA_AGGANCI;

namespace {

using Log = std::shared_ptr<std::vector<std::string>>;

// The links form as the program object sees it: it records how it was shown and, as the real form
// does, clears its program references when it unloads.
class FakeLinksForm : public entry::ILinksForm {
public:
    int unloads = 0;

    FakeLinksForm() { Gcls_Log = std::make_shared<entry_test::FakeMessageService>(); }
    std::vector<std::string>& Messages() { return static_cast<entry_test::FakeMessageService&>(*Gcls_Log).calls; }

protected:
    void Form_Activate() override {}
    void Form_QueryUnload(bool&, int) override {}
    void Form_Unload(bool&) override {
        ++unloads;
        ActiveClass.reset();
        ActiveInterface.reset();
    }
};

// Registers a factory of fake forms for one test and keeps the last form made.
class FormFactoryScope {
public:
    FormFactoryScope() {
        entry::RegisterLinksForm([this]() -> std::shared_ptr<entry::ILinksForm> {
            auto form = std::make_shared<FakeLinksForm>();
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
            if (auto form = weak.lock()) form->Unload();
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

class FakeNavigator : public entry::IFormNavigator {
public:
    Log calls;
    explicit FakeNavigator(Log log = std::make_shared<std::vector<std::string>>()) : calls(std::move(log)) {}

    void Deregistra(const std::shared_ptr<entry::Cinterface>&) override { calls->push_back("navigator.Deregistra"); }
    std::shared_ptr<entry::IScriptObjectModel> ScriptObjectModel() override { return nullptr; }
    void Advise(const std::shared_ptr<entry::INavigatorEvents>&) override {}
    void Unadvise(const entry::INavigatorEvents*) override {}
    std::shared_ptr<entry::IFormLayoutModel> LayoutModel() override { return nullptr; }
    std::shared_ptr<entry::IFormScriptModel> PreparaScriptModel() override { return nullptr; }
    std::shared_ptr<entry::IFormScriptModel> ScriptModel() override { return nullptr; }
    void FormChiuso(const std::string&) override {}
};

}  // namespace

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

// A change of company is always refused, with a message unless the caller had refused it already; an
// export to the office suite only while the program is active.
TEST(ProgramObject, RefusesAChangeOfCompanyAlwaysAndAnExportWhenActive) {
    FormFactoryScope forms;
    auto program = CLSFA_AGGANCI::Create();
    program->ShowForm();
    auto& messages = forms.Last()->Messages();
    auto shown = [&] { return std::exchange(messages, {}); };
    const std::string change = "MsgBox Il cambio ditta è consentito solo dopo la chiusura del programma in uso!|64|Informazione";
    const std::string office = "MsgBox Il programma non prevede il trasferimento dati in MsOffice !!!|64|Informazione";

    bool cancel = true;
    program->BeforeChangeDitta(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(shown(), std::vector<std::string>{});
    cancel = false;
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_FALSE(cancel);
    program->BeforeChangeDitta(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(shown(), std::vector<std::string>{change});

    program->IsActive(true);
    cancel = false;
    program->BeforeExportToOffice(cancel, nullptr);
    EXPECT_TRUE(cancel);
    cancel = false;
    program->BeforeChangeDitta(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(shown(), (std::vector<std::string>{office, change}));
}

