// The SQLSERVER collation as a loadable SQLite extension, so that the tools an administrator uses (the
// sqlite3 shell, Python's sqlite3, database browsers) can query, check, vacuum and dump a company database.
// The comparison is the driver's own (db/sqlite/Collation.cpp). Every SQLite call goes through the table
// of routines the loading program hands over: the extension carries no SQLite of its own.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "db/sqlite/Collation.h"

namespace {

int RegisterSqlServerCollation(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = sqlite3_create_collation_v2(db, db::sqlite::kCollationName, SQLITE_UTF8, nullptr,
                                               db::sqlite::CollateSqlServer, nullptr);
    if (rc != SQLITE_OK) {
        *error = sqlite3_mprintf("cannot register collation %s: %s", db::sqlite::kCollationName, sqlite3_errmsg(db));
    }
    return rc;
}

}  // namespace

// SQLite looks for the generic entry point (found even when the file is renamed), then for the one named after
// the file (libagganci_sqlserver.so), which stays distinct when several extensions are linked into one program.
extern "C" __attribute__((visibility("default"))) int sqlite3_aggancisqlserver_init(
    sqlite3* db, char** error, const sqlite3_api_routines* api) {
    return RegisterSqlServerCollation(db, error, api);
}

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3* db, char** error,
                                                                             const sqlite3_api_routines* api) {
    return RegisterSqlServerCollation(db, error, api);
}
