// The headless shell driving a links form as the ERP would, on a small stand-in form built on the same
// controls and services as the real one (the real form: tests/links_form/lifecycle_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "db/Connection.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/ControlsLookup.h"
#include "entry/ILinksForm.h"
#include "entry/LookupServices.h"
#include "erp/DemoBuilder.h"
#include "host/HeadlessShell.h"
#include "host/controls/LookupTextBox.h"

using db::Variant;

namespace {

constexpr const char* kDomanda = "Generare l'articolo?";

// A model field, a check box and a button: a question shown, the result written to the program object.
class StandInLinksForm : public entry::ILinksForm {
public:
    StandInLinksForm() {
        TXT_MODORIGINE = NewControl<entry::ILookupTextBox>("TXT_MODORIGINE");
        TXT_DESCMODORIGINE = NewControl<entry::ITextBox>("TXT_DESCMODORIGINE");
        CHK_CODALT = NewControl<entry::ICheckBox>("CHK_CODALT");
        CMD_DUPLICA = NewControl<entry::IButton>("CMD_DUPLICA");
        TXT_MODORIGINE->StartDecode().Connect([this](entry::DecodeRequest& r) { StartDecode(r); });
        CMD_DUPLICA->Click().Connect([this] { Duplica(); });
    }

    int activations = 0;
    std::shared_ptr<entry::ILookupTextBox> TXT_MODORIGINE;
    std::shared_ptr<entry::ITextBox> TXT_DESCMODORIGINE;
    std::shared_ptr<entry::ICheckBox> CHK_CODALT;
    std::shared_ptr<entry::IButton> CMD_DUPLICA;

protected:
    void Form_Load() override {
        Gcls_Log = entry::Host().CreateMessageService();
        Gcls_Log->Initialize(ActiveInterface);
        decode = entry::Shell().CreateDecodeService(entry::ServiceArea::Fashion);
        decode->Initialize(ActiveInterface);
    }
    void Form_Activate() override {
        if (activations++ > 0) return;
        TXT_MODORIGINE->Text(ActiveClass->Articolo_Origine().Text());
    }
    void Form_QueryUnload(bool& cancel, int) override {
        auto navigator = std::dynamic_pointer_cast<entry::IFormNavigator>(ActiveInterface->ActiveNavigator());
        auto script = navigator ? navigator->ScriptModel() : nullptr;
        if (script) cancel = script->QueryClose();
    }
    void Form_Unload(bool&) override {
        if (auto navigator = std::dynamic_pointer_cast<entry::IFormNavigator>(ActiveInterface->ActiveNavigator()))
            navigator->FormChiuso(Name());
        // The service holds the program interface: released here, as the real form's DestroyCls... do.
        decode->Release();
        ActiveClass.reset();
        ActiveInterface.reset();
    }

private:
    void StartDecode(entry::DecodeRequest& request) {
        auto definition = decode->Decodifica(entry::lookup::ProdottiFiniti, TXT_MODORIGINE->Text());
        definition.fields[0].target = TXT_DESCMODORIGINE;
        request.statement = definition.statement;
        request.fields = definition.fields;
    }
    void Duplica() {
        if (Gcls_Log->MsgBox(kDomanda, 4, "Agganci", true, 0) != 6) return;
        ActiveClass->DuplicazioneAvvenuta(true);
        ActiveClass->Articolo_Destinazione(Variant(TXT_MODORIGINE->Text() + (CHK_CODALT->Value() == 1 ? "-ALT" : "-NEW")));
    }

    std::shared_ptr<entry::IDecodeService> decode;
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
            for (const char* sql : {
                     "INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'M1'), (1, 'M2'), (1, 'TS1')",
                     "INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_OPZIONE_MG5E, MG87_LINGUA_MG52,"
                     " MG87_DESCART) VALUES (1, 'M1', '', '', 'Giacca'), (1, 'M2', '', '', 'Gonna'),"
                     " (1, 'TS1', '', '', 'Lana')",
                     "INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66, FA12_TIPO_FA03) VALUES"
                     " (1, 'M1', 'PF'), (1, 'M2', 'PF'), (1, 'TS1', 'TS')"})
                c->Execute(sql);
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

TEST_F(ShellTest, ModalShowRunsTheScriptInsideTheShowAndReturnsOnceClosed) {
    host::UserScript user;
    user.Type("TXT_MODORIGINE", "M2").Click("CHK_CODALT").Answer(6).Click("CMD_DUPLICA");
    shell->WhenShown(entry::kLinksFormName, user);

    host::ProgramRequest request;
    request.modal = true;
    auto program = shell->Apri(request);

    EXPECT_TRUE(shell->Failures().empty()) << shell->Failures().front();
    EXPECT_TRUE(program->DuplicazioneAvvenuta());
    EXPECT_EQ(program->Articolo_Destinazione().Text(), "M2-ALT");
    EXPECT_EQ(OpenLinksForm(), nullptr);  // the show returned: the window is gone
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    EXPECT_EQ(shell->Messages()->Messages()[0].text, kDomanda);
    EXPECT_EQ(shell->GetNavigator()->ClosedForms(), std::vector<std::string>{"FRMFA_AGGANCI"});
}

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
