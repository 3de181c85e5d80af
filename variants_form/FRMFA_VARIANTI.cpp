// FRMFA_VARIANTI: controls, load, first activation, layout, colour-variant warning, unload.
#include "variants_form/FRMFA_VARIANTI.h"

#include "db/Variant.h"
#include "entry/MDLFA_AGGANCI.h"
#include "entry/Rif.h"

namespace variants_form {

namespace {

// Anchor codes of the host's resize control: one for the frame and the grid, one for the grouping code
// and its label.
constexpr long kAncoraTuttiILati = 15;
constexpr long kAncoraSotto = 14;

}  // namespace

FRMFA_VARIANTI::FRMFA_VARIANTI() : Form(kNomeForm) {
    entry::WriteTraceLine(traceId_, entry::TracePhase::Ini, kNomeForm);
    Caption("Attivazione varianti");
    FME_ATTIVAZIONEVAR = NewControl<entry::IFrame>("FME_ATTIVAZIONEVAR");
    QGRD_VARIANTI = NewControl<entry::IGrid>("QGRD_VARIANTI");
    LBL_RAGGR = NewControl<entry::ILabel>("LBL_RAGGR");
    TXT_RAGGR = NewControl<entry::ITextBox>("TXT_RAGGR");
    ZEL_RESIZEFORM = NewControl<entry::IResizeControl>("ZEL_RESIZEFORM");
    QGRD_VARIANTI->Container(FME_ATTIVAZIONEVAR);
    LBL_RAGGR->Container(FME_ATTIVAZIONEVAR);
    TXT_RAGGR->Container(FME_ATTIVAZIONEVAR);
    LBL_RAGGR->Caption("Codice raggr. Personalizzato");
    TXT_RAGGR->Enabled(false);

    QGRD_VARIANTI->RowChange().Connect([this] { QGRD_VARIANTI_RowChange(); });
    QGRD_VARIANTI->AfterCellEdit().Connect(
        [this](const std::string& campo, const db::Variant& precedente) { QGRD_VARIANTI_AfterCellEdit(campo, precedente); });
    TXT_RAGGR->Change().Connect([this] { TXT_RAGGR_Change(); });
    ZEL_RESIZEFORM->Layout().Connect([this] { ZEL_RESIZEFORM_Layout(); });
}

FRMFA_VARIANTI::~FRMFA_VARIANTI() { entry::WriteTraceLine(traceId_, entry::TracePhase::Ter, kNomeForm); }

long FRMFA_VARIANTI::VisualizzaErrore(std::shared_ptr<entry::IMessageService> log, db::ConnectionPtr ADOConnection,
                                      const std::string& SubOrFunctionName, const db::Error& errore) {
    return entry::Pfun_GestioneErrore(std::move(log), std::move(ADOConnection), SubOrFunctionName, errore);
}

void FRMFA_VARIANTI::Form_Load() {
    entry::Procedure("Form_Load", entry::HandlerTable::B, Contesto())
        .Step([this] {
            attivato_ = false;
            ditta_ = 0;
        })
        .Run();
}

void FRMFA_VARIANTI::Form_Activate() {
    if (attivato_) return;
    entry::Procedure("Form_Activate", entry::HandlerTable::B, Contesto())
        .Step([this] { ditta_ = db::Variant(Globale()->DittaCorrente()).CInt(); })
        .Step([this] { return InitQGRD_VARIANTI(); })
        .Step([this] { return ImpostaRescordsetVarianti(); })
        .Step([this] {
            ZEL_RESIZEFORM->ActiveInterface(ActiveInterface);
            ZEL_RESIZEFORM->Start();
        })
        .Step([this] { AvvisaSenzaVarianteColore(); })
        .Step([this] { attivato_ = true; })
        .Run();
}

void FRMFA_VARIANTI::ZEL_RESIZEFORM_Layout() {
    ZEL_RESIZEFORM->AddControl(FME_ATTIVAZIONEVAR, kAncoraTuttiILati);
    ZEL_RESIZEFORM->AddControl(QGRD_VARIANTI, kAncoraTuttiILati);
    ZEL_RESIZEFORM->AddControl(LBL_RAGGR, kAncoraSotto);
    ZEL_RESIZEFORM->AddControl(TXT_RAGGR, kAncoraSotto);
}

void FRMFA_VARIANTI::AvvisaSenzaVarianteColore() {
    if (!VarianteColore().empty()) return;
    if (!Pcls_Messaggi) {
        Pcls_Messaggi = entry::Host().CreateMessageService();
        Pcls_Messaggi->Initialize(ActiveInterface);
    }
    Pcls_Messaggi->MsgBox(kAvvisoVarianteColore, kStileAvviso, kTitoloAvviso);
}

std::shared_ptr<entry::IClsGlobal> FRMFA_VARIANTI::Globale() const {
    auto globale = entry::Rif(ActiveInterface).ClsGlobal();
    entry::Rif(globale);
    return globale;
}

std::string FRMFA_VARIANTI::VarianteColore() const { return db::RTrim(Globale()->VarianteColore()); }

long FRMFA_VARIANTI::TabChiamante() const { return entry::Rif(FormChiamante).tabVisible; }

void FRMFA_VARIANTI::Form_Unload(bool&) {
    // Errors here are ignored one step at a time: the window closes whatever fails, and the list stays
    // with the caller.
    entry::Procedure::ResumeNext("Form_Unload")
        .Step([this] { QGRD_VARIANTI->Unbind(); })
        .Step([this] { QGRD_VARIANTI->Reset(); })
        .Step([this] {
            for (const auto& control : Controls()) {
                try {
                    control->Terminate();
                } catch (const db::Error&) {
                    // A control that cannot let go of its data is closed with the window all the same.
                }
            }
        })
        .Step([this] {
            FormChiamante.reset();
            Gcls_Log.reset();
            Gcon_Connect.reset();
            ActiveInterface.reset();
            Pcls_Messaggi.reset();
        })
        .Run();
    // `Varianti` is left for the caller to read; its temporary table is not dropped, since the recordset
    // stays bound to it.
}

}  // namespace variants_form
