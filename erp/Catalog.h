#pragma once
// Which tables hold rows of an article, and under which company and article columns.
#include <string>
#include <vector>

namespace erp {

struct ArticleTable {
    std::string table;
    std::string companyColumn;
    std::string articleColumn;
};

// Every table of the schema with an article column, the article master first.
const std::vector<ArticleTable>& ArticleTables();

}  // namespace erp
