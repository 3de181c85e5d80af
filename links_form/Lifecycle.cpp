// Load, first activation, the close query and the unload of the form; the open and close events of the
// script layer, the stored layout, and the host services the form creates for itself.
#include "entry/ErrorHandler.h"
#include "entry/Shell.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"
#include "entry/Rif.h"

namespace links_form {
namespace {

using entry::HandlerTable;

constexpr const char* kEventoApertura = "kvOpen";
constexpr const char* kEventoChiusura = "kvClose";

}  // namespace

void FRMFA_AGGANCI::Form_Load() {
    Procedura("Form_Load", HandlerTable::B)
        .Step([&] { caricamento_ = true; })
        .Step([&] { gstrConnect_ = entry::Rif(entry::Rif(ActiveInterface()).ClsGlobal()).ConnectionString(); })
        .Step([&] {
            if (gconConnect_) return;
            ILinksForm::Gcls_Log = entry::Host().CreateMessageService();
            entry::Rif(ILinksForm::Gcls_Log).Initialize(ActiveInterface());
            if (!gclsConnect_) gclsConnect_ = entry::Host().CreateConnectionProvider();
            auto connection = entry::Rif(gclsConnect_).Connection();
            entry::Rif(connection).ConnectionString(gstrConnect_);
            connection->Open();  // no user, password or options: the connection string says it all
            gconConnect_ = connection;
        })
        .Step([&] { entry::Rif(ActiveInterface()).Connection(gconConnect_); })
        .Step([&] { InitClsLookupMagazzino(); })
        .Step([&] { InitClsDecodeMagazzino(); })
        .Step([&] { InitClsLookupFashion(); })
        .Step([&] { InitClsDecodeFashion(); })
        .Step([&] { gstrDittaCorrente_ = entry::Rif(entry::Rif(ActiveInterface()).ClsGlobal()).DittaCorrente(); })
        .Step([&] {
            tabVisible_ = entry::Util_Agganci;
            voceCorrente_ = kVoceAgganci;
        })
        // Also when the load was left on an error: a flag left set would make the side bar deaf for good.
        .Cleanup([&] { caricamento_ = false; })
        .Run();
}

void FRMFA_AGGANCI::Form_Activate() {
    if (attivato_) return;
    attivato_ = true;
    entry::Util_TabNavigator tab = entry::Util_Agganci;
    Procedura("Form_Activate", HandlerTable::B)
        .Step([&] { massTab_->InitAdvQuery(); })
        .Step([&] { ui_.SIDEBAR_MAIN->Initialize(ActiveInterface(), false); })
        .Step([&] { tab = entry::Rif(ActiveClass()).Tab_Attivo(); })
        .Step([&] { MostraTab(tab); })
        .Step([&] {
            // The side bar shows the tab that is shown, so that clicking the other item is a real change.
            voceCorrente_ = tabVisible_ == entry::Util_Duplmassiva ? kVoceDuplMassiva : kVoceAgganci;
            ui_.SIDEBAR_MAIN->SelectItem(kGruppoSideBar, voceCorrente_);
        })
        .Step([&] {
            ui_.SIDEBAR_MAIN->Enabled(true);
            ui_.SIDEBAR_MAIN->Visible(true);
        })
        .Step([&] {
            // A modally opened form offers only the item of its own tab.
            const char* altra = tab == entry::Util_Duplmassiva ? kVoceAgganci : kVoceDuplMassiva;
            ui_.SIDEBAR_MAIN->ItemEnabled(kGruppoSideBar, altra, !ModaleForm());
        })
        .Step([&] {
            if (entry::Rif(ActiveClass()).TipoAnagrafica() != entry::KvEnumTipoAnagraficaArticoli_Nothing) return true;
            entry::Rif(ILinksForm::Gcls_Log).MsgBox(kMsgTipoAnagrafica, kStileCritico, "", true, 0);
            Unload(entry::vbFormCode);
            return false;
        })
        .Step([&] { ui_.LAYSCRIPTMEDIA->ActiveInterface(ActiveInterface()); })
        .Step([&] { ui_.ZEL_RESIZEFORM->ActiveInterface(ActiveInterface()); })
        .Step([&] { ui_.ZEL_RESIZEFORM->Start(); })
        .Step([&] { RegistraLayout(); })
        .Step([&] { ExecuteFormEvent(kEventoApertura); })
        .Run();
}

void FRMFA_AGGANCI::Form_QueryUnload(bool& cancel, int) {
    Procedura("Form_QueryUnload", HandlerTable::B)
        .Step([&] { return !cancel; })
        // The links the user has not saved are asked about here, where a "cancel" can still keep the form
        // open; until the answer is in, the form stays, so that an error on the way loses no edits.
        .Step([&] {
            cancel = true;
            cancel = !LinksMayBeReleased();
        })
        .Step([&] { return !cancel; })
        .Step([&] { ExecuteFormEvent(kEventoChiusura); })
        .Step([&] {
            const auto navigator = Navigatore();
            const auto script = navigator ? navigator->ScriptModel() : nullptr;
            if (script) cancel = script->QueryClose();
        })
        .Run();
}

void FRMFA_AGGANCI::Form_Unload(bool&) {
    // Every step runs whatever the previous one did: the form goes, and takes down what it can.
    auto navigator = Navigatore();
    entry::Procedure::ResumeNext("Form_Unload")
        .Step([&] { log_.reset(); })
        .Step([&] { entry::Rif(entry::Rif(ActiveInterface()).ClsGlobal()).Deregistra(ActiveInterface()); })
        .Step([&] { entry::Rif(ActiveInterface()).ClsVoceMenu(nullptr); })
        .Step([&] { entry::Rif(entry::Rif(navigator).ScriptModel()).Remove(Name()); })
        .Step([&] { entry::Rif(navigator).FormChiuso(Name()); })
        // The user was asked in Form_QueryUnload: what is left unsaved now goes without a second question,
        // whose "cancel" could not keep the form any more.
        .Step([&] { DistruggiVFAgganci(true); })
        .Step([&] { ScaricaFrame(ui_.FRM_MODORIGINE); })
        .Step([&] { ScaricaFrame(ui_.FRM_DUPLMASS); })
        .Step([&] { ui_.SIDEBAR_MAIN->Clear(); })
        .Step([&] { DestroyClsLookupMagazzino(); })
        .Step([&] { DestroyClsDecodeMagazzino(); })
        .Step([&] { DestroyClsLookupFashion(); })
        .Step([&] { DestroyClsDecodeFashion(); })
        .Step([&] { ChiudiRecordsetERisorse(); })
        .Step([&] {
            ILinksForm::ActiveClass.reset();
            ILinksForm::ActiveInterface.reset();
        })
        // After the program interface is gone, so that nothing the tab makes from now on can hold it.
        .Step([&] { massTab_->Rilascia(); })
        .Step([&] { ui_.LAYSCRIPTMEDIA->ActiveInterface(nullptr); })
        // The layout model keeps the form: held by the form, it would keep the form alive for good.
        .Step([&] { layout_.reset(); })
        .Step([&] {
            // Controls that were handed the program interface let go of it: the program holds the form,
            // so a control holding the program would keep both alive.
            ui_.ZEL_RESIZEFORM->ActiveInterface(nullptr);
            for (const auto& control : Controls()) control->Terminate();
        })
        .Run();
}

void FRMFA_AGGANCI::ChiudiRecordsetERisorse() {
    entry::Procedure::ResumeNext("Form_Unload")
        .Step([&] { rstVarianti_.reset(); })
        .Step([&] {
            if (rstDettaglio_ && rstDettaglio_->State() == db::adStateOpen) rstDettaglio_->Close();
            rstDettaglio_.reset();
        })
        .Step([&] {
            if (rstTestata_ && rstTestata_->State() == db::adStateOpen) rstTestata_->Close();
            rstTestata_.reset();
        })
        .Step([&] {
            if (gconConnect_ && gconConnect_->State() == db::adStateOpen) gconConnect_->Close();
            gconConnect_.reset();
        })
        .Step([&] { ILinksForm::Gcls_Log.reset(); })
        .Step([&] { gclsConnect_.reset(); })
        .Run();
}

void FRMFA_AGGANCI::Form_KeyDown(int& keyCode, int) {
    if (keyCode != entry::vbKeyEscape) return;
    keyCode = 0;
    Unload(entry::vbFormCode);
}

db::Variant FRMFA_AGGANCI::ExecuteFormEvent(const std::string& evento) {
    Procedura("ExecuteFormEvent", HandlerTable::B)
        .Step([&] {
            const auto navigator = Navigatore();
            if (!navigator || !navigator->ScriptModel()) return;
            if (evento == kEventoApertura) {
                const auto script = navigator->PreparaScriptModel();
                if (!script) return;
                script->Add(shared_from_this(), Name(), kCaptionForm);
                script->FormEvent(Name(), true);
            } else if (evento == kEventoChiusura) {
                navigator->ScriptModel()->FormEvent(Name(), false);
            }
        })
        .Run();
    return {};
}

void FRMFA_AGGANCI::RegistraLayout() {
    Procedura("RegistraLayout", HandlerTable::B)
        .Step([&] {
            const auto navigator = Navigatore();
            layout_ = navigator ? navigator->LayoutModel() : nullptr;
        })
        .Step([&] {
            if (!layout_) return;
            layout_->Add(shared_from_this(), kNomeLayout);
            layout_->ApplicaLayout(kNomeLayout);
        })
        .Run();
}

// --- Host services: created once, released on unload ---

namespace {

template <class S, class Crea>
void InitServizio(entry::Procedure procedura, std::shared_ptr<S>& servizio, const std::shared_ptr<entry::Cinterface>& program,
                  Crea crea) {
    procedura
        .Step([&] {
            if (servizio) return;
            auto nuovo = crea();
            entry::Rif(nuovo).Initialize(program);
            servizio = nuovo;
        })
        .Run();
}

template <class S>
void DestroyServizio(entry::Procedure procedura, std::shared_ptr<S>& servizio) {
    procedura
        .Step([&] {
            if (!servizio) return;
            servizio->Release();
            servizio.reset();
        })
        .Run();
}

}  // namespace

void FRMFA_AGGANCI::InitClsLookupMagazzino() {
    InitServizio(Procedura("InitClsLookupMagazzino", HandlerTable::A), clsLookupMagazzino_, ActiveInterface(),
                 [] { return entry::Shell().CreateLookupService(entry::ServiceArea::Magazzino); });
}

void FRMFA_AGGANCI::DestroyClsLookupMagazzino() {
    DestroyServizio(Procedura("DestroyClsLookupMagazzino", HandlerTable::A), clsLookupMagazzino_);
}

void FRMFA_AGGANCI::InitClsDecodeMagazzino() {
    InitServizio(Procedura("InitClsDecodeMagazzino", HandlerTable::A), clsDecodeMagazzino_, ActiveInterface(),
                 [] { return entry::Shell().CreateDecodeService(entry::ServiceArea::Magazzino); });
}

void FRMFA_AGGANCI::DestroyClsDecodeMagazzino() {
    DestroyServizio(Procedura("DestroyClsDecodeMagazzino", HandlerTable::A), clsDecodeMagazzino_);
}

void FRMFA_AGGANCI::InitClsLookupFashion() {
    InitServizio(Procedura("InitClsLookupFashion", HandlerTable::A), clsLookupFashion_, ActiveInterface(),
                 [] { return entry::Shell().CreateLookupService(entry::ServiceArea::Fashion); });
}

void FRMFA_AGGANCI::DestroyClsLookupFashion() {
    DestroyServizio(Procedura("DestroyClsLookupFashion", HandlerTable::A), clsLookupFashion_);
}

void FRMFA_AGGANCI::InitClsDecodeFashion() {
    InitServizio(Procedura("InitClsDecodeFashion", HandlerTable::A), clsDecodeFashion_, ActiveInterface(),
                 [] { return entry::Shell().CreateDecodeService(entry::ServiceArea::Fashion); });
}

void FRMFA_AGGANCI::DestroyClsDecodeFashion() {
    DestroyServizio(Procedura("DestroyClsDecodeFashion", HandlerTable::A), clsDecodeFashion_);
}

}  // namespace links_form
