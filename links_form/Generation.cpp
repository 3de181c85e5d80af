// The links tab's generation: the generate button starts the generation run, the log button shows the
// log of the last run; and what the run drives on the form (messages, progress, status bar, focus).
#include "entry/Controls.h"
#include "generation/GenerationRun.h"
#include "generation/LogViewer.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "entry/Rif.h"

namespace links_form {

using entry::HandlerTable;

void FRMFA_AGGANCI::CollegaEventiGenerazione() {
    ui_.CMD_DUPLICA->Click().Connect([this] { CMD_DUPLICA_ButtonClick(); });
    ui_.CMD_LOG->Click().Connect([this] { CMD_LOG_Click(); });
}

void FRMFA_AGGANCI::CMD_DUPLICA_ButtonClick() {
    // The run reports its own errors (under "CMD_DUPLICA_ButtonClick").
    generation::CMD_DUPLICA_ButtonClick(*this);
    // The generated codes were written through a clone of the rows: the frame shows them again.
    Procedura("CMD_DUPLICA_ButtonClick", HandlerTable::B)
        .Step([&] {
            if (rstDettaglio_) ui_.FME_AGGANCIDET->Refresh();
        })
        .Step([&] { AggiornaPulsanteGenera(); })
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

void FRMFA_AGGANCI::FocusDescrizioneDaGenerare() {
    if (ui_.TXT_DESCARTDAGENERARE->Reachable()) ui_.TXT_DESCARTDAGENERARE->SetFocus();
}

}  // namespace links_form
