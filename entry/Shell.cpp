// The shell installed in this process.
#include "entry/Shell.h"

#include <utility>

#include "entry/HostInterfaces.h"

namespace entry {

namespace {
// One shell per process; the component runs on the shell's single thread.
std::shared_ptr<IShell>& InstalledShell() {
    static std::shared_ptr<IShell> shell;
    return shell;
}
}  // namespace

IShell* CurrentShell() { return InstalledShell().get(); }

IShell& Shell() {
    IShell* shell = CurrentShell();
    if (!shell) throw OggettoNonDisponibile("shell");
    return *shell;
}

void SetShell(std::shared_ptr<IShell> shell) { InstalledShell() = std::move(shell); }

}  // namespace entry
