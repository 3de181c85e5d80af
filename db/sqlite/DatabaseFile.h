#pragma once
// An embedded database file looked at without the driver: opened as the driver opens it, but never created and
// only read. The driver turns every file it opens into a WAL database, so a file is judged here first.
#include <stdexcept>
#include <string>

struct sqlite3;

namespace db::sqlite {

// The file is not an SQLite database at all.
struct NotADatabase : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class DatabaseFile {
public:
    // `target`: a path (which must exist) or a file: URI. Throws std::runtime_error when it cannot be opened.
    explicit DatabaseFile(const std::string& target);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    // Known from the open alone (a read-only file, a mode=ro URI): nothing is read, so nothing is left beside it.
    bool ReadOnly() const;
    // Whether the file has the table (the name compared without case). Throws NotADatabase, or
    // std::runtime_error when the file cannot be read (locked, damaged).
    bool HasTable(const char* name) const;

private:
    std::string target_;
    sqlite3* db_ = nullptr;
};

}  // namespace db::sqlite
