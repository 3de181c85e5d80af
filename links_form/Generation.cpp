// The links tab's generation: the generate button starts the generation run, the log button shows the
// log of the last run; and what the run drives on the form (messages, progress, status bar, focus).
#include "entry/Controls.h"
#include "generation/GenerationRun.h"
#include "generation/LogViewer.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/FormRunPort.h"
#include "variants_form/ApriVarianti.h"
#include "entry/Rif.h"

namespace links_form {

using entry::HandlerTable;

void FRMFA_AGGANCI::CollegaEventiGenerazione() {
    ui_.CMD_DUPLICA->Click().Connect([this] { CMD_DUPLICA_ButtonClick(); });
    ui_.CMD_LOG->Click().Connect([this] { CMD_LOG_Click(); });
    ui_.CMD_VARIANTI->Click().Connect([this] { CMD_VARIANTI_Click(); });
}

void FRMFA_AGGANCI::CMD_DUPLICA_ButtonClick() {
    // The run writes the rows through a clone, with every edit they hold: a click that reaches the button
    // while something waits to be saved (the shell enables it late) runs nothing.
    lastRunOutcome_ = {};
    AggiornaPulsanteGenera();
    if (!ui_.CMD_DUPLICA->Enabled()) return;
    FormRunPort port(*this, "CMD_DUPLICA_ButtonClick", ui_.CMD_LOG, "CMD_LOG");
    // The run reports its own errors (under "CMD_DUPLICA_ButtonClick"), and so does reading its request.
    Procedura("CMD_DUPLICA_ButtonClick", HandlerTable::B)
        .Step([&] { lastRunOutcome_ = generation::RunGeneration(Contesto(), port, LinksRunRequest()); })
        .Run();
    // The generated codes were written through a clone of the rows: the frame shows them again.
    Procedura("CMD_DUPLICA_ButtonClick", HandlerTable::B)
        .Step([&] {
            if (rstDettaglio_) ui_.FME_AGGANCIDET->Refresh();
        })
        .Step([&] { AggiornaPulsanteGenera(); })
        .Run();
}

void FRMFA_AGGANCI::CMD_VARIANTI_Click() {
    Procedura("CMD_VARIANTI_Click", HandlerTable::B)
        .Step([&] {
            variants_form::AperturaVarianti apertura;
            apertura.finestra = shared_from_this();
            apertura.ActiveInterface = ActiveInterface();
            apertura.Gcon_Connect = gconConnect_;
            apertura.Gcls_Log = Gcls_Log();
            apertura.Varianti = rstVarianti_;
            apertura.tabVisible = entry::Util_Agganci;
            apertura.Articolo = db::RTrim(ui_.TXT_MODORIGINE->Text());
            rstVarianti_ = variants_form::ApriVarianti(apertura);
        })
        .Run();
}

void FRMFA_AGGANCI::CMD_LOG_Click() {
    Procedura("CMD_LOG_Click", HandlerTable::B)
        .Step([&] { generation::MostraLogElaborazione(LogElaborazione(), entry::Rif(ILinksForm::Gcls_Log)); })
        .Run();
}

generation::ProcessingLog& FRMFA_AGGANCI::LogElaborazione() {
    if (!log_) log_ = std::make_unique<generation::ProcessingLog>(entry::Rif(ActiveInterface()).ClsGlobal(), gconConnect_);
    return *log_;
}

long FRMFA_AGGANCI::MsgBox(const std::string& text, long style, const std::string& title) {
    return entry::Rif(ILinksForm::Gcls_Log).MsgBox(text, style, title, true, 0);
}

void FRMFA_AGGANCI::TestoStato(const std::string& text) {
    // The shell's status bar, when the program was given one; the host has no text service of its own to
    // pass the text through first.
    const auto program = ActiveInterface();
    const auto bar = program ? std::dynamic_pointer_cast<entry::IStatusBar>(program->StatusBar()) : nullptr;
    if (bar && bar->PanelCount() >= 1) bar->Panels(1).Text(text);
}

generation::GenerationRequest FRMFA_AGGANCI::LinksRunRequest() const {
    generation::GenerationRequest r;
    r.model = ui_.TXT_MODORIGINE->Text();
    r.prefix = ui_.TXT_PREFISSO->Text();
    r.useAlternativeCode = ui_.CHK_CODALT->Value() == 1;
    r.alternativeCode = ui_.TXT_CODICEALTERNATIVO->Text();
    r.regenerate = ui_.ZEL_CHKRIGENERA->Value() == 1;
    r.mainFabric.codice = db::RTrim(ui_.TXT_TESSPRINC->Text());
    const std::string sequenza = db::Trim(ui_.TXT_SEQUENZA->Text());
    r.mainFabric.sequenza = sequenza.empty() ? 0 : db::Variant(sequenza).CLng();
    r.rows = rstDettaglio_;
    r.variantSelection = rstVarianti_;
    return r;
}

}  // namespace links_form
