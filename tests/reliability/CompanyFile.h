#pragma once
// A demo company in a database file of the test's own folder: built once per test, copied afresh for
// every case, so that each case starts from the same data and the integrity check reads a real file.
// The folder also holds the company's log files; it is removed at the end.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ProgramDouble.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/sqlite/SqliteDriver.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"

namespace reliability {

class CompanyFile {
public:
    explicit CompanyFile(const std::string& name, const erp::DemoOptions& options = {})
        : dir_(std::filesystem::temp_directory_path() /
               ("agganci-reliability-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "logs");
        erp::RegisterProcedures();
        auto c = Open(dir_ / "template.db");
        erp::BuildDemoDatabase(*c, options);
        testsupport::SetCompanySetting(*c, 1, "CartellaLog", (dir_ / "logs").string() + "/");
        c->Close();
    }
    ~CompanyFile() { std::filesystem::remove_all(dir_); }
    CompanyFile(const CompanyFile&) = delete;
    CompanyFile& operator=(const CompanyFile&) = delete;

    // A fresh copy of the company (CaseFile()), open. No connection to the previous copy may be open.
    db::ConnectionPtr OpenCopy() {
        const auto file = CaseFile();
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
        std::filesystem::copy_file(dir_ / "template.db", file);
        return Open(file);
    }
    std::filesystem::path CaseFile() const { return dir_ / "case.db"; }

    static db::ConnectionPtr Open(const std::filesystem::path& file) {
        auto c = db::Connection::Create();
        c->Open("sqlite:" + file.string());
        return c;
    }

private:
    std::filesystem::path dir_;
};

// What `PRAGMA integrity_check` says: "ok" for a sound file, else the problems it found. Asked of SQLite
// itself: the pragma is no T-SQL, which is all the connection takes.
inline std::string IntegrityCheck(db::Connection& c) {
    sqlite3* handle = dynamic_cast<db::sqlite::SqliteDriver&>(c.GetDriver()).Handle();
    std::string text;
    char* error = nullptr;
    sqlite3_exec(
        handle, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            auto& t = *static_cast<std::string*>(out);
            t += (t.empty() ? "" : "; ") + std::string(values[0] ? values[0] : "");
            return 0;
        },
        &text, &error);
    if (error) {
        text = error;
        sqlite3_free(error);
    }
    return text;
}

}  // namespace reliability
