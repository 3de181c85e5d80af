#include "erp/Catalog.h"

#include "erp/TableColumns.h"

namespace erp {
namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<ArticleTable> Build() {
    std::vector<ArticleTable> result{{"MG66_ANAGRART", "MG66_DITTA_CG18", "MG66_CODART"}};
    for (const auto& t : SchemaTables()) {
        std::string company, article;
        for (const auto& c : t.columns) {
            if (company.empty() && EndsWith(c.name, "_DITTA_CG18")) company = c.name;
            if (article.empty() && EndsWith(c.name, "_CODART_MG66")) article = c.name;
        }
        if (!company.empty() && !article.empty()) result.push_back({t.name, company, article});
    }
    return result;
}

}  // namespace

const std::vector<ArticleTable>& ArticleTables() {
    static const std::vector<ArticleTable> tables = Build();
    return tables;
}

}  // namespace erp
