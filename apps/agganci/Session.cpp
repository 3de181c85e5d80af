#include "apps/agganci/Session.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "apps/agganci/DemoDatabaseFile.h"
#include "db/sqlite/DatabaseFile.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace app {
namespace {

const std::string kSqlitePrefix = "sqlite:";

// What the embedded driver opens for an sqlite: connection string (a path or a URI); empty for other databases.
std::string SqliteTarget(const std::string& connectionString) {
    return connectionString.rfind(kSqlitePrefix, 0) == 0 ? connectionString.substr(kSqlitePrefix.size()) : "";
}

// The file of an sqlite: connection string; empty for other databases, in memory ones and URIs (a URI's own
// mode= says whether it may create).
std::string SqliteFile(const std::string& connectionString) {
    const std::string target = SqliteTarget(connectionString);
    if (target == ":memory:" || target.rfind("file:", 0) == 0) return {};
    return target;
}

void CreateDefaultDemoDatabase(const std::string& path) {
    std::cerr << "Creating the demo database " << path << "\n";
    if (!BuildDemoDatabaseFile(path, erp::DemoOptions{}, false)) {
        std::cerr << "Another run created the demo database " << path << " meanwhile; using that one\n";
    }
}

// Refuses an embedded database that is not a company's (the session adds the company's missing tables, which
// must not happen to another program's file), or that cannot be written by a command that writes. Returns
// whether the database can be written.
bool CheckEmbeddedDatabase(const std::string& target, Access access) {
    const db::sqlite::DatabaseFile database(target);
    const bool writable = !database.ReadOnly();
    if (!writable && access == Access::Write)
        throw std::runtime_error("the database cannot be written: " + target + " is read-only");
    const auto notACompany = [&](const std::string& why) {
        return std::runtime_error(target + " is not a company database (" + why + "); it was left unchanged");
    };
    // The article master and the fashion parameters: every company database has them, whatever its version.
    for (const char* table : {"MG66_ANAGRART", "FA00_PARAMETRI"}) {
        try {
            if (!database.HasTable(table)) throw notACompany(std::string("it has no table ") + table);
        } catch (const db::sqlite::NotADatabase& e) {
            throw notACompany(e.what());
        }
    }
    return writable;
}

}  // namespace

Session OpenSession(const GlobalOptions& options, Access access) {
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
    const std::string target = SqliteTarget(options.db);
    const bool writable = target.empty() || CheckEmbeddedDatabase(target, access);
    Session s;
    s.connection = db::Connection::Create();
    s.connection->Open(options.db);
    // A company file of an earlier version gets the tables added since; one that cannot be written is read as
    // it is.
    if (writable) erp::CreateMissingTables(*s.connection);
    return s;
}

}  // namespace app
