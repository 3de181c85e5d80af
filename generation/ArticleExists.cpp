#include "generation/ArticleExists.h"

#include "db/CommonSql.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace generation {

bool EsisteArticolo(db::Connection& connessione, const db::Variant& ditta, const std::string& codice) {
    auto rs = connessione.Execute(" SELECT *" + std::string(" FROM") + "     MG66_ANAGRART" + " WHERE" +
                                  "     MG66_DITTA_CG18 = " + db::SqlNumber(ditta) + "     AND MG66_CODART = '" +
                                  db::SqlEscape(codice) + "'",
                                  nullptr, db::kCommonSqlText);
    return rs->RecordCount() > 0;
}

}  // namespace generation
