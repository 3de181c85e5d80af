// The program object as the shell drives it: the window it shows and closes, the changes it refuses and
// the messages it shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeHost.h"
#include "ProgramDouble.h"
#include "db/Connection.h"
#include "entry/CLSFA_AGGANCI.h"

using db::Variant;
using entry::CLSFA_AGGANCI;

namespace {

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

// A navigator without events: it records each deregistration with how many the global object had made by then.
class FakeNavigator : public entry::INavigator {
public:
    std::shared_ptr<testsupport::GlobalDouble> global;
    std::vector<std::size_t> deregistrations;
    explicit FakeNavigator(std::shared_ptr<testsupport::GlobalDouble> g) : global(std::move(g)) {}

    void Deregistra(const std::shared_ptr<entry::Cinterface>&) override {
        deregistrations.push_back(global->deregistered.size());
    }
    std::shared_ptr<entry::IScriptObjectModel> ScriptObjectModel() override { return nullptr; }
};

}  // namespace

// While the window is shown a change of company is always refused, with a message unless the caller had
// refused it already, and an export to the office suite only while the program is active. Closing the window
// deregisters the program, from the global object and then the navigator, and unloads the form.
TEST(ProgramObject, RefusesChangesWhileShownAndCloseFormDeregistersThenUnloadsTheForm) {
    std::shared_ptr<FakeLinksForm> form;
    entry::RegisterLinksForm([&]() -> std::shared_ptr<entry::ILinksForm> {
        return form = std::make_shared<FakeLinksForm>();
    });
    auto global = std::make_shared<testsupport::GlobalDouble>();
    auto navigator = std::make_shared<FakeNavigator>(global);
    auto program = CLSFA_AGGANCI::Create();
    program->ClsGlobal(global);
    program->ActiveNavigator(navigator);
    program->ShowForm();
    entry::RegisterLinksForm(nullptr);

    auto shown = [&] { return std::exchange(form->Messages(), {}); };
    const std::string change =
        "MsgBox Il cambio ditta è consentito solo dopo la chiusura del programma in uso!|64|Informazione";
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

    Variant closed = program->CloseForm();
    EXPECT_TRUE(closed.CBool());
    ASSERT_EQ(global->deregistered.size(), 1u);
    EXPECT_EQ(global->deregistered[0], static_cast<const entry::Cinterface*>(program.get()));
    EXPECT_EQ(navigator->deregistrations, std::vector<std::size_t>{1});  // once, after the global object's
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(form->unloads, 1);
}
