#pragma once
// How many rows each table holds for one article: what the command line reports after a duplication.
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"

namespace app {

std::vector<std::pair<std::string, long>> CountArticleRows(db::Connection& c, long company, const std::string& code);

}  // namespace app
