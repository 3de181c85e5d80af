#include "apps/agganci/ArticleCounts.h"

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/Catalog.h"

namespace app {

std::vector<ArticleRows> ArticleRowsByTable(long company, const std::string& code) {
    const std::string ditta = std::to_string(company), quoted = db::SqlText(code);
    std::vector<ArticleRows> tables;
    for (const auto& t : erp::ArticleTables())
        tables.push_back({t.table, t.companyColumn + " = " + ditta + " AND " + t.articleColumn + " = " + quoted});
    // The attributes have no article column: they hang on the identifier of each of the article's descriptions.
    tables.push_back({"FA13_ATTRIBUTI", "FA13_DITTA_CG18 = " + ditta + " AND FA13_GUID IN (SELECT MG87_GUID FROM "
                                        "MG87_ARTDESC WHERE MG87_DITTA_CG18 = " + ditta + " AND MG87_CODART_MG66 = " +
                                        quoted + ")"});
    return tables;
}

std::vector<std::pair<std::string, long>> CountArticleRows(db::Connection& c, long company, const std::string& code) {
    std::vector<std::pair<std::string, long>> counts;
    for (const auto& t : ArticleRowsByTable(company, code))
        counts.emplace_back(t.table,
                            db::QueryValue(c, "SELECT COUNT(*) AS N FROM " + t.table + " WHERE " + t.where).CLng());
    return counts;
}

}  // namespace app
