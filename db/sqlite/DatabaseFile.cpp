#include "db/sqlite/DatabaseFile.h"

#include <sqlite3.h>

namespace db::sqlite {

DatabaseFile::DatabaseFile(const std::string& target) : target_(target) {
    // A plain path must exist already; a URI's own mode= says whether it may be created, as the driver opens it.
    const int create = target.rfind("file:", 0) == 0 ? SQLITE_OPEN_CREATE : 0;
    if (sqlite3_open_v2(target.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | create, nullptr) !=
        SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        throw std::runtime_error("cannot open the database " + target + ": " + reason);
    }
    sqlite3_busy_timeout(db_, 5000);  // as the driver waits for another program's write
}

DatabaseFile::~DatabaseFile() { sqlite3_close_v2(db_); }

bool DatabaseFile::ReadOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

bool DatabaseFile::HasTable(const char* name) const {
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE";
    int rc = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = sqlite3_step(statement);
    const std::string reason = sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) return rc == SQLITE_ROW;
    if (rc == SQLITE_NOTADB) throw NotADatabase(reason);
    throw std::runtime_error("cannot read the database " + target_ + ": " + reason);
}

}  // namespace db::sqlite
