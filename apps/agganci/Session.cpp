#include "apps/agganci/Session.h"

#include <filesystem>
#include <iostream>

#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace app {

Session OpenSession(const GlobalOptions& options) {
    erp::RegisterProcedures();
    host::InstallShellHost();
    const GlobalOptions defaults;
    const std::string prefix = "sqlite:";
    if (options.db == defaults.db) {
        const std::string path = options.db.substr(prefix.size());
        if (!std::filesystem::exists(path)) {
            std::cerr << "Creating the demo database " << path << "\n";
            auto c = db::Connection::Create();
            c->Open(options.db);
            erp::BuildDemoDatabase(*c, erp::DemoOptions{});
            c->Close();
        }
    }
    Session s;
    s.connection = db::Connection::Create();
    s.connection->Open(options.db);
    // A company file of an earlier version gets the tables added since.
    erp::CreateMissingTables(*s.connection);
    return s;
}

}  // namespace app
