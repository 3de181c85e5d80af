// The headless shell driving a links form as the ERP would, on a small stand-in form (the real form and its
// modal show: tests/links_form/lifecycle_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

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
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("shell_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
        std::filesystem::remove(path);
        {
            auto c = db::Connection::Create();
            c->Open("sqlite:" + path.string());
            erp::CreateSchema(*c);
        }
        shell = host::HeadlessShell::Start("sqlite:" + path.string(), 1);
        entry::RegisterLinksForm([] { return std::make_shared<StandInLinksForm>(); });
    }
    void TearDown() override {
        entry::RegisterLinksForm(nullptr);
        shell.reset();
        std::filesystem::remove(path);
    }

    std::shared_ptr<StandInLinksForm> OpenLinksForm() const {
        return std::dynamic_pointer_cast<StandInLinksForm>(shell->OpenForm(entry::kLinksFormName));
    }

    std::filesystem::path path;
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

TEST_F(ShellTest, ChangingCompanyIsRefusedWhileTheProgramIsOpen) {
    auto program = shell->Apri(host::ProgramRequest());
    EXPECT_TRUE(shell->GetNavigator()->RaiseBeforeChangeDitta());
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    EXPECT_TRUE(shell->GetNavigator()->RaiseBeforeExportToOffice());

    auto status = std::dynamic_pointer_cast<entry::IStatusBar>(program->StatusBar());
    ASSERT_TRUE(status);
    status->Panels(1).Text("Pronto");
    EXPECT_EQ(shell->GetStatusBar()->Panel(1).Text(), "Pronto");

    shell->Chiudi(program);
    program.reset();
    EXPECT_EQ(shell->GetNavigator()->Subscribers(), 0u);
    EXPECT_FALSE(shell->GetNavigator()->RaiseBeforeChangeDitta());
}

TEST_F(ShellTest, NavigatorModelsReceiveTheFormFromTheActiveProgram) {
    auto program = shell->Apri(host::ProgramRequest());
    auto form = OpenLinksForm();
    form->Caption("Duplicazione articolo");
    auto navigator = shell->GetNavigator();

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
}
