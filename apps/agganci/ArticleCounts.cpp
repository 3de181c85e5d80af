#include "apps/agganci/ArticleCounts.h"

#include <set>

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/Catalog.h"

namespace app {
namespace {

// Tables of an article whose rows no duplication copies: its agents and packagings (no step of the engine copies
// them, and none of its switches asks the procedure to), and what the links tab and its runs record of it (its
// link header, season history, generated articles and groupings), which are no part of a copy.
const std::set<std::string> kNotCopied = {"MG6C_ANAGRARTAGE",     "PK07_ARTIMB",      "FA63_AGGANCI",
                                          "FA25_STORICOSTAGIONI", "AG02_ARTGENERATI", "AG03_RAGGRCREATI"};

std::vector<std::pair<std::string, long>> CountRows(db::Connection& c, const std::vector<ArticleRows>& tables) {
    std::vector<std::pair<std::string, long>> counts;
    for (const auto& t : tables)
        counts.emplace_back(t.table,
                            db::QueryValue(c, "SELECT COUNT(*) AS N FROM " + t.table + " WHERE " + t.where).CLng());
    return counts;
}

}  // namespace

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
    return CountRows(c, ArticleRowsByTable(company, code));
}

std::vector<std::pair<std::string, long>> CountCopiedRows(db::Connection& c, long company, const std::string& code) {
    auto tables = ArticleRowsByTable(company, code);
    std::erase_if(tables, [](const ArticleRows& t) { return kNotCopied.count(t.table) > 0; });
    return CountRows(c, tables);
}

}  // namespace app
