#include "host/ControlloDistinta.h"

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

bool ControlloDistinta::EsisteDistinta(const std::string& articolo) {
    auto rs = Connection().Execute("SELECT PD95_IDDISBA FROM PD95_DISBA WITH (NOLOCK) WHERE PD95_DITTA_CG18 = " +
                                   Company() + " AND PD95_CODART_MG66 = " + db::SqlText(articolo) +
                                   " AND PD95_TIPO_DISTINTA = 0");
    return rs->RecordCount() > 0;
}

bool ControlloDistinta::TipologiaPrevedeDistinta(const std::string& articolo) {
    // No production data: nothing says the bill is not needed.
    return db::QueryValue(Connection(),
                          "SELECT PD10_FLGDISBA FROM PD18_ARTPROD WITH (NOLOCK) INNER JOIN PD10_TIPIPRODOTTO WITH "
                          "(NOLOCK) ON PD10_DITTA_CG18 = PD18_DITTA_CG18 AND PD10_CODICE = PD18_TIPOPROD_PD10 WHERE "
                          "PD18_DITTA_CG18 = " + Company() + " AND PD18_CODART_MG66 = " + db::SqlText(articolo) +
                              " AND PD18_OPZIONE = ' '",
                          db::Variant(1))
               .CLng() != 0;
}

}  // namespace host
