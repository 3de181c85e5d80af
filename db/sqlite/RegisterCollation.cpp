#include <sqlite3.h>

#include <string>

#include "db/Error.h"
#include "db/sqlite/Collation.h"

namespace db::sqlite {

void RegisterCollation(sqlite3* db) {
    if (sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, CollateSqlServer, nullptr) !=
        SQLITE_OK) {
        throw Error(errc::ProviderError, std::string("Cannot register collation SQLSERVER: ") + sqlite3_errmsg(db),
                    "agganci.db.sqlite");
    }
}

}  // namespace db::sqlite
