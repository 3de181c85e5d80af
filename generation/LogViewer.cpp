#include "generation/LogViewer.h"

#include <cstdlib>
#include <string>

#include "generation/HostObject.h"

namespace generation {
namespace {

constexpr long kExclamation = 48;
constexpr const char* kSource = "MostraLogElaborazione";

void SalvaEMostra(const ProcessingLog& log, entry::IMessageService& messaggi) {
    const auto dialog = Richiesto(entry::Host().CreateSaveFileDialog(), "SaveFileDialog", kSource);
    const std::string path = dialog->Scegli("c:\\", "TXT File|*.txt", "Salvataggio file");
    if (db::Trim(path).empty()) {
        messaggi.MsgBox(" Non è stata selezionato un file - OK", kExclamation, "Attenzione!");
        return;
    }
    // The copy carries the run's lines as the log file does, one line each.
    auto file = Richiesto(entry::Host().CreateFileAccess(), "FileAccess", kSource);
    const auto stream = Richiesto(file->CreaFile(path), "TextStream", kSource);
    for (const std::string& line : log.RigheAccumulate()) stream->WriteLine(line);
    stream->Close();
    Richiesto(entry::Host().CreateTextViewer(), "TextViewer", kSource)->Mostra(path);
    file.reset();
}

}  // namespace

bool WebRenderAttivo() {
    const char* value = std::getenv(VariabileWebRender);
    return value != nullptr && std::string(value) == "1";
}

void MostraLogElaborazione(const ProcessingLog& log, entry::IMessageService& messaggi, bool webRender) {
    if (webRender) {
        SalvaEMostra(log, messaggi);
        return;
    }
    Richiesto(entry::Host().CreateTextViewer(), "TextViewer", kSource)->Mostra(log.FileLog());
}

void MostraLogElaborazione(const ProcessingLog& log, entry::IMessageService& messaggi) {
    MostraLogElaborazione(log, messaggi, WebRenderAttivo());
}

}  // namespace generation
