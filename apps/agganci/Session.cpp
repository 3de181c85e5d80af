#include "apps/agganci/Session.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "apps/agganci/DemoDatabaseFile.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace app {
namespace {

const std::string kSqlitePrefix = "sqlite:";

// The file of an sqlite: connection string; empty for other databases, in memory ones and URIs (a URI's own
// mode= says whether it may create).
std::string SqliteFile(const std::string& connectionString) {
    if (connectionString.rfind(kSqlitePrefix, 0) != 0) return {};
    const std::string target = connectionString.substr(kSqlitePrefix.size());
    if (target == ":memory:" || target.rfind("file:", 0) == 0) return {};
    return target;
}

void CreateDefaultDemoDatabase(const std::string& path) {
    std::cerr << "Creating the demo database " << path << "\n";
    if (!BuildDemoDatabaseFile(path, erp::DemoOptions{}, false)) {
        std::cerr << "Another run created the demo database " << path << " meanwhile; using that one\n";
    }
}

}  // namespace

Session OpenSession(const GlobalOptions& options) {
    erp::RegisterProcedures();
    host::InstallShellHost();
    // Only the default demo database is made on the fly: any other missing file is a mistake to report, not an
    // empty database to create.
    const std::string file = SqliteFile(options.db);
    if (!file.empty() && !std::filesystem::exists(file)) {
        if (options.db != GlobalOptions{}.db) {
            throw std::runtime_error("no database at " + file + " (create one with: agganci demo-db " + file + ")");
        }
        CreateDefaultDemoDatabase(file);
    }
    Session s;
    s.connection = db::Connection::Create();
    s.connection->Open(options.db);
    // A company file of an earlier version gets the tables added since.
    erp::CreateMissingTables(*s.connection);
    return s;
}

}  // namespace app
