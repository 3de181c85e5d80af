#pragma once
// An article code as the company stores it. Codes compare without regard to case, so "modello04" finds
// MODELLO04; what the commands then write (new codes built from it) must use the stored spelling.
#include <optional>
#include <string>

#include "db/Connection.h"

namespace app {

std::optional<std::string> StoredArticleCode(db::Connection& c, long company, const std::string& code);

}  // namespace app
