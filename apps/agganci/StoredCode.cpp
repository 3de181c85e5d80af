#include "apps/agganci/StoredCode.h"

#include <map>

#include "db/QueryValue.h"
#include "db/Quote.h"

namespace app {
namespace {

struct Master {
    const char* table;
    const char* company;
    const char* code;
};

const Master kArticles{"MG66_ANAGRART", "MG66_DITTA_CG18", "MG66_CODART"};

// Fabrics are articles; the others are the fashion masters the form's lookups list.
const std::map<std::string, Master>& MasterOfOption() {
    static const std::map<std::string, Master> masters = {
        {"MODEL", kArticles},
        {"--fabric", kArticles},
        {"--main-fabric", kArticles},
        {"--season", {"MG5T_STAGIONI", "MG5T_DITTA_CG18", "MG5T_CODICE"}},
        {"--line", {"FA05_LINEE", "FA05_DITTA_CG18", "FA05_CODICE"}},
        {"--brand", {"FA06_MARCHI", "FA06_DITTA_CG18", "FA06_CODICE"}},
        {"--typology", {"FA04_TIPOLOGIE", "FA04_DITTA_CG18", "FA04_CODICE"}},
    };
    return masters;
}

std::optional<std::string> StoredCode(db::Connection& c, long company, const Master& m, const std::string& code) {
    const auto v = db::QueryValue(c, std::string("SELECT ") + m.code + " FROM " + m.table + " WITH (NOLOCK) WHERE " +
                                         m.company + " = " + std::to_string(company) + " AND " + m.code + " = " +
                                         db::SqlText(code));
    if (v.IsNull() || v.IsEmpty()) return std::nullopt;
    return db::RTrim(v.Text());
}

}  // namespace

std::optional<std::string> StoredArticleCode(db::Connection& c, long company, const std::string& code) {
    return StoredCode(c, company, kArticles, code);
}

std::string StoredOptionValue(db::Connection& c, long company, const std::string& option, const std::string& value) {
    const auto master = MasterOfOption().find(option);
    if (master == MasterOfOption().end()) return value;
    return StoredCode(c, company, master->second, value).value_or(value);
}

}  // namespace app
