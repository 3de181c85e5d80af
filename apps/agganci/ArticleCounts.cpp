#include "apps/agganci/ArticleCounts.h"

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/Catalog.h"

namespace app {

std::vector<std::pair<std::string, long>> CountArticleRows(db::Connection& c, long company, const std::string& code) {
    std::vector<std::pair<std::string, long>> counts;
    for (const auto& t : erp::ArticleTables()) {
        counts.emplace_back(t.table, db::QueryValue(c, "SELECT COUNT(*) AS N FROM " + t.table + " WHERE " +
                                                           t.companyColumn + " = " + std::to_string(company) + " AND " +
                                                           t.articleColumn + " = " + db::SqlText(code))
                                         .CLng());
    }
    return counts;
}

}  // namespace app
