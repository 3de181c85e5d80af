#pragma once
// The component keeps one shell and one host factory per process, and runs on one thread. The browser
// shell has many forms open at once, each owned by its own worker thread, so it installs these two
// forwarders once: each call goes to the shell and host of the session whose worker is calling.
#include <memory>

#include "entry/HostInterfaces.h"
#include "entry/Shell.h"

namespace host::web {

// What one worker provides to the component it runs.
struct WorkerServices {
    entry::IShell* shell = nullptr;
    entry::IHostFactory* host = nullptr;
};

// The services of the calling thread (set by a session's worker for its whole life).
void BindWorker(const WorkerServices& services);
void UnbindWorker();

// Installs the forwarders as the component's shell and host (once, before any worker starts).
void InstallRouting();

}  // namespace host::web
