#include "host/HostFactory.h"

#include <utility>

#include "host/BarcodeGenerator.h"
#include "host/ClsBoConsana.h"
#include "host/ClsDisBaUtility.h"
#include "host/ClsElabDisba.h"
#include "host/CycleService.h"
#include "host/IdentifierService.h"
#include "host/ConnectionProvider.h"
#include "host/ControlloDistinta.h"
#include "host/FileAccess.h"
#include "host/ProcessingLogService.h"
#include "host/RecordsetProvider.h"

namespace host {

ShellHost::ShellHost() : ShellHost(std::make_shared<ScriptedMessageService>()) {}

ShellHost::ShellHost(std::shared_ptr<ScriptedMessageService> messages) : messages_(std::move(messages)) {}

std::shared_ptr<entry::IRecordsetProvider> ShellHost::CreateRecordsetProvider() {
    return std::make_shared<RecordsetProvider>();
}

std::shared_ptr<entry::IBarcodeGenerator> ShellHost::CreateBarcodeGenerator() {
    return std::make_shared<BarcodeGenerator>();
}

std::shared_ptr<entry::IIdentifierService> ShellHost::CreateIdentifierService() {
    return std::make_shared<IdentifierService>();
}

std::shared_ptr<entry::ICycleService> ShellHost::CreateCycleService() { return std::make_shared<CycleService>(); }

std::shared_ptr<entry::IElabDisba> ShellHost::CreateElabDisba() { return std::make_shared<ClsElabDisba>(); }

std::shared_ptr<entry::IMessageService> ShellHost::CreateMessageService() { return messages_; }

std::shared_ptr<entry::IProcessingLogService> ShellHost::CreateProcessingLogService() {
    return std::make_shared<ProcessingLogService>();
}

std::shared_ptr<entry::IFileAccess> ShellHost::CreateFileAccess() { return std::make_shared<FileAccess>(); }

std::shared_ptr<entry::ITextViewer> ShellHost::CreateTextViewer() { return viewer_; }

std::shared_ptr<entry::ISaveFileDialog> ShellHost::CreateSaveFileDialog() { return saveDialog_; }

long ShellHost::PlatformMsgBox(const std::string& text, long style, const std::string& title) {
    return messages_->PlatformMsgBox(text, style, title);
}

std::shared_ptr<entry::IConnectionProvider> ShellHost::CreateConnectionProvider() {
    return std::make_shared<ConnectionProvider>();
}

std::shared_ptr<ShellHost> InstallShellHost() {
    auto shell = std::make_shared<ShellHost>();
    entry::SetHost(shell);
    return shell;
}

std::shared_ptr<entry::IControlloDistinta> ShellHost::CreateControlloDistinta() {
    return std::make_shared<ControlloDistinta>();
}

std::shared_ptr<entry::IDisBaUtility> ShellHost::CreateDisBaUtility() { return std::make_shared<ClsDisBaUtility>(); }

std::shared_ptr<entry::IBoConsana> ShellHost::CreateBoConsana() { return std::make_shared<ClsBoConsana>(); }

}  // namespace host
