#include "host/web/ThreadRouting.h"

namespace host::web {
namespace {

thread_local WorkerServices current;

entry::IShell& Shell() {
    if (!current.shell) throw entry::OggettoNonDisponibile("shell");
    return *current.shell;
}

entry::IHostFactory& Host() {
    if (!current.host) throw entry::OggettoNonDisponibile("host");
    return *current.host;
}

class ShellRouter : public entry::IShell {
public:
    std::shared_ptr<entry::IControl> CreateControl(entry::ControlKind kind, const std::string& name) override {
        return Shell().CreateControl(kind, name);
    }
    std::shared_ptr<entry::ILookupService> CreateLookupService(entry::ServiceArea area) override {
        return Shell().CreateLookupService(area);
    }
    std::shared_ptr<entry::IDecodeService> CreateDecodeService(entry::ServiceArea area) override {
        return Shell().CreateDecodeService(area);
    }
    void FormShown(entry::Form& form) override { Shell().FormShown(form); }
    void RunModal(entry::Form& form) override { Shell().RunModal(form); }
    void FormUnloaded(entry::Form& form) override {
        if (current.shell) current.shell->FormUnloaded(form);
    }
};

class HostRouter : public entry::IHostFactory {
public:
    std::shared_ptr<entry::IRecordsetProvider> CreateRecordsetProvider() override { return Host().CreateRecordsetProvider(); }
    std::shared_ptr<entry::IBarcodeGenerator> CreateBarcodeGenerator() override { return Host().CreateBarcodeGenerator(); }
    std::shared_ptr<entry::IIdentifierService> CreateIdentifierService() override { return Host().CreateIdentifierService(); }
    std::shared_ptr<entry::ICycleService> CreateCycleService() override { return Host().CreateCycleService(); }
    std::shared_ptr<entry::IElabDisba> CreateElabDisba() override { return Host().CreateElabDisba(); }
    std::shared_ptr<entry::IMessageService> CreateMessageService() override { return Host().CreateMessageService(); }
    std::shared_ptr<entry::IProcessingLogService> CreateProcessingLogService() override {
        return Host().CreateProcessingLogService();
    }
    long PlatformMsgBox(const std::string& text, long style, const std::string& title) override {
        return Host().PlatformMsgBox(text, style, title);
    }
    std::shared_ptr<entry::IConnectionProvider> CreateConnectionProvider() override { return Host().CreateConnectionProvider(); }
    std::shared_ptr<entry::IControlloDistinta> CreateControlloDistinta() override { return Host().CreateControlloDistinta(); }
    std::shared_ptr<entry::IDisBaUtility> CreateDisBaUtility() override { return Host().CreateDisBaUtility(); }
    std::shared_ptr<entry::IBoConsana> CreateBoConsana() override { return Host().CreateBoConsana(); }
    std::shared_ptr<entry::IFileAccess> CreateFileAccess() override { return Host().CreateFileAccess(); }
    std::shared_ptr<entry::ITextViewer> CreateTextViewer() override { return Host().CreateTextViewer(); }
    std::shared_ptr<entry::ISaveFileDialog> CreateSaveFileDialog() override { return Host().CreateSaveFileDialog(); }
};

}  // namespace

void BindWorker(const WorkerServices& services) { current = services; }
void UnbindWorker() { current = {}; }

void InstallRouting() {
    entry::SetShell(std::make_shared<ShellRouter>());
    entry::SetHost(std::make_shared<HostRouter>());
}

}  // namespace host::web
