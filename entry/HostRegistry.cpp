// The host factory the running shell installed, and the company-setting helpers shared by every global object.
#include <utility>

#include "entry/HostInterfaces.h"

namespace entry {

namespace {
// One shell per process; the component runs on the shell's single thread.
std::shared_ptr<IHostFactory>& InstalledHost() {
    static std::shared_ptr<IHostFactory> host;
    return host;
}
}  // namespace

db::Error OggettoNonDisponibile(const std::string& name) {
    return db::Error(429, "Oggetto non disponibile: " + name);
}

IHostFactory& Host() {
    auto& host = InstalledHost();
    if (!host) throw OggettoNonDisponibile("host");
    return *host;
}

void SetHost(std::shared_ptr<IHostFactory> factory) { InstalledHost() = std::move(factory); }

long IClsGlobal::NumberSetting(const std::string& name) const {
    const db::Variant value = Impostazione(name);
    if (db::Trim(value.Text()).empty()) return 0;
    return value.CLng();
}

}  // namespace entry
