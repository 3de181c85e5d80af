#include "apps/agganci/StoredCode.h"

#include "db/QueryValue.h"
#include "db/Quote.h"

namespace app {

std::optional<std::string> StoredArticleCode(db::Connection& c, long company, const std::string& code) {
    const auto v = db::QueryValue(c, "SELECT MG66_CODART FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = " +
                                         std::to_string(company) + " AND MG66_CODART = " + db::SqlText(code));
    if (v.IsNull() || v.IsEmpty()) return std::nullopt;
    return db::RTrim(v.Text());
}

}  // namespace app
