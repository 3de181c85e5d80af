#pragma once
// The headless shell's factory of host objects. Every message service it hands out is the same scripted
// service, so one script answers every box of a session and one record holds everything shown; the
// platform's message box goes to the same service (recorded as `platform`).
// Objects the shell does not have yet raise Error 429 "Oggetto non disponibile: <name>".
#include <memory>

#include "entry/HostInterfaces.h"
#include "host/SaveFileDialog.h"
#include "host/ScriptedMessageService.h"
#include "host/TextViewer.h"

namespace host {

class ShellHost : public entry::IHostFactory {
public:
    ShellHost();
    explicit ShellHost(std::shared_ptr<ScriptedMessageService> messages);

    // The scripted service behind every message box of the session.
    const std::shared_ptr<ScriptedMessageService>& Messages() const { return messages_; }

    std::shared_ptr<entry::IRecordsetProvider> CreateRecordsetProvider() override;
    std::shared_ptr<entry::IBarcodeGenerator> CreateBarcodeGenerator() override;
    std::shared_ptr<entry::IIdentifierService> CreateIdentifierService() override;
    std::shared_ptr<entry::ICycleService> CreateCycleService() override;
    std::shared_ptr<entry::IElabDisba> CreateElabDisba() override;
    std::shared_ptr<entry::IMessageService> CreateMessageService() override;
    std::shared_ptr<entry::IProcessingLogService> CreateProcessingLogService() override;
    long PlatformMsgBox(const std::string& text, long style, const std::string& title) override;
    std::shared_ptr<entry::IConnectionProvider> CreateConnectionProvider() override;
    std::shared_ptr<entry::IControlloDistinta> CreateControlloDistinta() override;
    std::shared_ptr<entry::IDisBaUtility> CreateDisBaUtility() override;
    std::shared_ptr<entry::IBoConsana> CreateBoConsana() override;
    std::shared_ptr<entry::IFileAccess> CreateFileAccess() override;
    // One viewer and one save dialog per session, like the message service: one record of every file
    // shown, one script for every file asked for.
    std::shared_ptr<entry::ITextViewer> CreateTextViewer() override;
    std::shared_ptr<entry::ISaveFileDialog> CreateSaveFileDialog() override;
    const std::shared_ptr<TextViewer>& Viewer() const { return viewer_; }
    const std::shared_ptr<SaveFileDialog>& SaveDialog() const { return saveDialog_; }

private:
    std::shared_ptr<ScriptedMessageService> messages_;
    std::shared_ptr<TextViewer> viewer_ = std::make_shared<TextViewer>();
    std::shared_ptr<SaveFileDialog> saveDialog_ = std::make_shared<SaveFileDialog>();
};

// Installs a new ShellHost as the component's host (entry::SetHost) and returns it.
std::shared_ptr<ShellHost> InstallShellHost();

}  // namespace host
