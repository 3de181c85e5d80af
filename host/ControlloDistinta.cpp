#include "host/ControlloDistinta.h"

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace host {

db::Connection& ControlloDistinta::Connection() const {
    if (!program_ || !program_->Connection())
        throw db::Error(db::errc::ObjectRequired, "Programma o connessione non impostati", "ControlloDistinta");
    return *program_->Connection();
}

std::string ControlloDistinta::Company() const {
    if (!program_->ClsGlobal())
        throw db::Error(db::errc::ObjectRequired, "Oggetto globale non impostato", "ControlloDistinta");
    return db::SqlNumber(db::Variant(program_->ClsGlobal()->DittaCorrente()));
}

// Both checks read the source article inside the caller's transaction, in plain SQL that either database runs
// as written, without a read hint: they see committed rows only, and on SQL Server may wait for a session
// that is changing the source's bill or production data.
bool ControlloDistinta::EsisteDistinta(const std::string& articolo) {
    auto rs = Connection().ExecuteWith("SELECT PD95_IDDISBA FROM PD95_DISBA WHERE PD95_DITTA_CG18 = " + Company() +
                                           " AND PD95_CODART_MG66 = ? AND PD95_TIPO_DISTINTA = 0",
                                       {{{}, db::Variant(articolo)}}, nullptr, db::kCommonSqlText);
    return rs->RecordCount() > 0;
}

bool ControlloDistinta::TipologiaPrevedeDistinta(const std::string& articolo) {
    // No production data: nothing says the bill is not needed.
    auto rs = Connection().ExecuteWith(
        "SELECT PD10_FLGDISBA FROM PD18_ARTPROD INNER JOIN PD10_TIPIPRODOTTO ON PD10_DITTA_CG18 = PD18_DITTA_CG18 AND "
        "PD10_CODICE = PD18_TIPOPROD_PD10 WHERE PD18_DITTA_CG18 = " + Company() +
            " AND PD18_CODART_MG66 = ? AND PD18_OPZIONE = ' '",
        {{{}, db::Variant(articolo)}}, nullptr, db::kCommonSqlText);
    return db::FirstValue(rs, db::Variant(1)).CLng() != 0;
}

}  // namespace host
