#include "apps/agganci/ArticleCounts.h"

#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/Catalog.h"

namespace app {

std::vector<std::pair<std::string, long>> CountArticleRows(db::Connection& c, long company, const std::string& code) {
    std::vector<std::pair<std::string, long>> counts;
    for (const auto& t : erp::ArticleTables()) {
        auto rs = c.Execute("SELECT COUNT(*) AS N FROM " + t.table + " WHERE " + t.companyColumn + " = " +
                            std::to_string(company) + " AND " + t.articleColumn + " = " + db::SqlText(code));
        rs->MoveFirst();
        counts.emplace_back(t.table, rs->GetFields().Item(0).Value().CLng());
    }
    return counts;
}

}  // namespace app
