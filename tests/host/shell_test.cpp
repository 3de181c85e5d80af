// The headless shell driving a links form as the ERP would, on a small stand-in form (the real form and its
// modal show: tests/links_form/lifecycle_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/Connection.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/ILinksForm.h"
#include "erp/DemoBuilder.h"
#include "host/HeadlessShell.h"

namespace {

// A stand-in links form: its message service made on load, the script layer's close query, the navigator
// told on unload.
class StandInLinksForm : public entry::ILinksForm {
protected:
    void Form_Load() override {
        Gcls_Log = entry::Host().CreateMessageService();
        Gcls_Log->Initialize(ActiveInterface);
    }
    void Form_Activate() override {}
    void Form_QueryUnload(bool& cancel, int) override {
        auto navigator = std::dynamic_pointer_cast<entry::IFormNavigator>(ActiveInterface->ActiveNavigator());
        auto script = navigator ? navigator->ScriptModel() : nullptr;
        if (script) cancel = script->QueryClose();
    }
    void Form_Unload(bool&) override {
        if (auto navigator = std::dynamic_pointer_cast<entry::IFormNavigator>(ActiveInterface->ActiveNavigator()))
            navigator->FormChiuso(Name());
        ActiveClass.reset();
        ActiveInterface.reset();
    }
};

class ShellTest : public ::testing::Test {
protected:
    // The company lives in memory while a connection to it is open: the test's own, held for the session.
    void SetUp() override {
        const std::string company = "sqlite:file:shell_test?mode=memory&cache=shared";
        schema = db::Connection::Create();
        schema->Open(company);
        erp::CreateSchema(*schema);
        shell = host::HeadlessShell::Start(company, 1);
        entry::RegisterLinksForm([] { return std::make_shared<StandInLinksForm>(); });
    }
    void TearDown() override {
        entry::RegisterLinksForm(nullptr);
        shell.reset();
    }

    db::ConnectionPtr schema;
    std::shared_ptr<host::HeadlessShell> shell;
};

}  // namespace

TEST_F(ShellTest, AModalWindowThatRefusesToCloseEndsTheShowWithAFailure) {
    shell->GetNavigator()->Script()->VetoClose(true);
    host::ProgramRequest request;
    request.modal = true;
    auto program = shell->Apri(request);
    ASSERT_EQ(shell->Failures().size(), 1u);
    EXPECT_EQ(shell->Failures()[0], "FRMFA_AGGANCI: the modal window refused to close");
    shell->GetNavigator()->Script()->VetoClose(false);
    EXPECT_TRUE(shell->Chiudi(program));
}

// While the program is open, a change of company is refused and the navigator's models receive its form.
TEST_F(ShellTest, TheOpenProgramAnswersTheNavigatorUntilItCloses) {
    auto program = shell->Apri(host::ProgramRequest());
    auto navigator = shell->GetNavigator();
    EXPECT_TRUE(navigator->RaiseBeforeChangeDitta());
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    EXPECT_TRUE(navigator->RaiseBeforeExportToOffice());

    auto status = std::dynamic_pointer_cast<entry::IStatusBar>(program->StatusBar());
    ASSERT_TRUE(status);
    status->Panels(1).Text("Pronto");
    EXPECT_EQ(shell->GetStatusBar()->Panel(1).Text(), "Pronto");

    auto form = std::dynamic_pointer_cast<StandInLinksForm>(shell->OpenForm(entry::kLinksFormName));
    form->Caption("Duplicazione articolo");

    auto layout = navigator->LayoutModel();  // prepared once, on first use
    navigator->LayoutModel();
    ASSERT_EQ(navigator->Layout()->Entries().size(), 1u);
    EXPECT_EQ(navigator->Layout()->Entries()[0].name, "Parametri");
    EXPECT_EQ(navigator->Layout()->Entries()[0].form, form);

    navigator->PreparaScriptModel();
    ASSERT_EQ(navigator->Script()->Entries().size(), 1u);
    EXPECT_EQ(navigator->Script()->Entries()[0].name, "FRMFA_AGGANCI");
    EXPECT_EQ(navigator->Script()->Entries()[0].caption, "Duplicazione articolo");
    EXPECT_EQ(program->LinksForm(), form);

    // A program that is not the active one is left out.
    program->IsActive(false);
    navigator->PreparaScriptModel();
    auto other = std::make_shared<host::ScriptObjectModel>();
    program->InitializeScriptObjectModel(other);
    EXPECT_TRUE(other->Entries().empty());

    shell->Chiudi(program);
    program.reset();
    form.reset();
    EXPECT_EQ(navigator->Subscribers(), 0u);
    EXPECT_FALSE(navigator->RaiseBeforeChangeDitta());
}
