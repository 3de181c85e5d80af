#pragma once
// SPMG_DUPLICAART on the embedded database: copies the article master, its standard descriptions and
// every satellite group whose @NODUP_... flag is 0 to a new code, in the caller's transaction.
#include "db/Command.h"
#include "db/Connection.h"

namespace erp {

void SpmgDuplicaArt(db::Connection& connection, db::Parameters& parameters);

}  // namespace erp
