#pragma once
// What a subcommand needs to talk to a company database: the connection and the installed shell.
#include <memory>

#include "apps/agganci/Options.h"
#include "db/Connection.h"

namespace app {

struct Session {
    db::ConnectionPtr connection;
};

// What a command does with the database. One that writes is refused at once on a database that cannot be
// written, rather than trying every row and failing each.
enum class Access { Read, Write };

// Opens the database named by --db. The default embedded database is created with demo data when missing; any
// other embedded file that is not a company database is refused before anything is written to it.
Session OpenSession(const GlobalOptions& options, Access access = Access::Write);

}  // namespace app
