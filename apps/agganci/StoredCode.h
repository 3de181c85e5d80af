#pragma once
// An article code as the company stores it. Codes compare without regard to case, so "modello04" finds
// MODELLO04; what the commands then write (new codes built from it) must use the stored spelling.
#include <optional>
#include <string>

#include "db/Connection.h"

namespace app {

std::optional<std::string> StoredArticleCode(db::Connection& c, long company, const std::string& code);

// The value of a code option of the links and mass tabs (MODEL, --fabric, --main-fabric, --season, --line,
// --brand, --typology) in the spelling of the master that keeps the code, as a pick from the form's list
// would type it: the form finds "donna" and would store it as typed. The value as given when the master does
// not have it (the form then refuses it in its own words), and for any other option.
std::string StoredOptionValue(db::Connection& c, long company, const std::string& option, const std::string& value);

}  // namespace app
