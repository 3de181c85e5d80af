#include "apps/agganci/DemoDatabaseFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "db/Connection.h"
#include "erp/Procedures.h"

namespace app {
namespace {

// The files SQLite keeps beside a database while it is open or after a crash. One left beside a name would be
// applied to whatever database next takes that name.
void RemoveCompanions(const std::string& database) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) std::filesystem::remove(database + suffix);
}

// The file being built, removed with its companions unless it was moved into place.
class TemporaryDatabase {
public:
    // Named after the process: no other live builder uses the name, and a leftover of a dead one is cleared.
    explicit TemporaryDatabase(const std::string& path) : path_(path + ".building-" + std::to_string(getpid())) {
        Remove();
    }
    ~TemporaryDatabase() {
        if (path_.empty()) return;
        try {
            Remove();
        } catch (const std::exception& e) {
            std::cerr << "agganci: cannot remove the temporary database " << path_ << ": " << e.what() << "\n";
        }
    }
    TemporaryDatabase(const TemporaryDatabase&) = delete;
    TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;

    const std::string& Path() const { return path_; }
    void Placed() { path_.clear(); }

private:
    void Remove() {
        std::filesystem::remove(path_);
        RemoveCompanions(path_);
    }

    std::string path_;
};

[[noreturn]] void RaiseErrno(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

// Gives `from` the name `to` unless `to` exists (false then), in one step: a database that reached the name
// first is never replaced, and the name never shows a half-written file.
bool MoveUnlessTaken(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) RaiseErrno("cannot move " + from + " to " + to);
    // A file system without the no-replace rename: a hard link is refused just as well when the name is taken.
    if (link(from.c_str(), to.c_str()) != 0) {
        if (errno == EEXIST) return false;
        RaiseErrno("cannot link " + from + " to " + to);
    }
    std::filesystem::remove(from);
    return true;
}

std::string Build(const std::string& file, const erp::DemoOptions& options) {
    erp::RegisterProcedures();
    auto c = db::Connection::Create();
    c->Open("sqlite:" + file);
    auto summary = erp::BuildDemoDatabase(*c, options);
    c->Close();
    // Closed cleanly, the database is in the one file; a log left beside it would stay behind when it moves.
    if (std::filesystem::exists(file + "-wal")) {
        throw std::runtime_error("the demo database " + file + " was not closed cleanly");
    }
    return summary;
}

}  // namespace

std::optional<std::string> BuildDemoDatabaseFile(const std::string& path, const erp::DemoOptions& options,
                                                 bool replace) {
    TemporaryDatabase temporary(path);
    auto summary = Build(temporary.Path(), options);
    if (replace) {
        RemoveCompanions(path);
        std::filesystem::rename(temporary.Path(), path);
    } else if (!MoveUnlessTaken(temporary.Path(), path)) {
        return std::nullopt;
    }
    temporary.Placed();
    return summary;
}

}  // namespace app
