#pragma once
// The --where filters of the commands that select articles, stated in the mass tab's advanced query as the
// user types them: FIELD=VALUE, FIELD=FROM..TO, FIELD^=PREFIX.
#include <string>
#include <vector>

#include "apps/agganci/LinksFormSession.h"
#include "db/Recordset.h"
#include "entry/ControlsAdvancedQuery.h"
#include "host/controls/AdvancedQuery.h"

namespace app {

// One filter; a usage error (CLI::ValidationError, exit 105) naming --where for an operator or a value that is
// missing or a range that is not FROM..TO.
entry::QueryCondition ParseWhere(const std::string& text);

// Adds every filter to the query; an unknown field, or a column its table does not have, is refused with the
// list of the fields it offers and the tables whose columns it takes.
void ApplyWhere(host::controls::AdvancedQuery& query, const std::vector<std::string>& filters);

// The selection step of the mass tab as the user takes it: the tab chosen, the filters stated, Next. The
// selection it gives (Nothing or empty when no article matches).
db::RecordsetPtr SelectArticles(LinksFormSession& session, const std::vector<std::string>& filters);

}  // namespace app
