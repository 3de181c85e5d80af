#pragma once
// What a subcommand needs to talk to a company database: the connection and the installed shell.
#include <memory>

#include "apps/agganci/Options.h"
#include "db/Connection.h"

namespace app {

struct Session {
    db::ConnectionPtr connection;
};

// Opens the database named by --db. The default embedded database is created with demo data when missing.
Session OpenSession(const GlobalOptions& options);

}  // namespace app
