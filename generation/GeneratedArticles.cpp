#include "generation/GeneratedArticles.h"

#include "db/Constants.h"
#include "db/Field.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/MDLFA_AGGANCI.h"

namespace generation {

void RecordGeneratedArticle(db::Connection& c, const db::Variant& company, const std::string& article,
                            const std::string& rowGuid) {
    const std::string where = " WHERE AG02_DITTA_CG18 = " + db::SqlNumber(company) +
                              " AND AG02_CODART_MG66 = " + db::SqlText(article);
    // A mark left by an earlier article of the same code belongs to nobody now.
    c.Execute("DELETE FROM AG02_ARTGENERATI" + where, nullptr, db::adExecuteNoRecords);
    c.Execute("INSERT INTO AG02_ARTGENERATI (AG02_DITTA_CG18, AG02_CODART_MG66, AG02_GUID_FA64) VALUES (" +
                  db::SqlNumber(company) + ", " + db::SqlText(article) + ", " + db::SqlText(rowGuid) + ")",
              nullptr, db::adExecuteNoRecords);
}

bool CreatedByLinkRow(db::Connection& c, const db::Variant& company, const std::string& article,
                      const std::string& rowGuid) {
    auto rs = c.Execute("SELECT AG02_CODART_MG66 FROM AG02_ARTGENERATI WHERE AG02_DITTA_CG18 = " +
                        db::SqlNumber(company) + " AND AG02_CODART_MG66 = " + db::SqlText(article) +
                        " AND AG02_GUID_FA64 = " + db::SqlText(rowGuid));
    return rs && rs->RecordCount() > 0;
}

std::optional<std::string> RecordedArticle(db::Connection& c, const std::string& rowGuid) {
    auto rs = c.Execute("SELECT FA64_ARTAGGANCIO_MG66 FROM FA64_AGGANCIDET WHERE FA64_GUID = " + db::SqlText(rowGuid));
    if (!rs || rs->RecordCount() == 0) return std::nullopt;
    rs->MoveFirst();
    return db::Trim(entry::Pfun_Testo(rs->GetFields()[0].Value()));
}

}  // namespace generation
