#include "host/CycleService.h"

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "host/CopyRows.h"

namespace host {

db::Variant CycleService::CopiaCiclo(const std::string& cicloOrigine, const std::string& cicloNuovo, const std::string&,
                                     const std::string&, const std::string&, bool, const std::string&,
                                     const std::string&, const db::Variant& versioneOrigine,
                                     const db::Variant& versioneNuova) {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", "CycleService");
    if (ditta_.IsEmpty() || ditta_.IsNull())
        throw db::Error(db::errc::ObjectRequired, "Ditta non impostata", "CycleService");
    const std::string company = db::SqlNumber(ditta_);
    const std::string newVersion = db::SqlNumber(versioneNuova);
    const db::Variant newCycle(cicloNuovo);

    // Phases without their cycle would be orphans: they are copied only where the new header exists, and
    // a copy of none asks why (the source may have no phases). The cycles' codes are markers and the
    // versions (the first, nearly always) stay in the text: the statement is the same for every cycle.
    const std::string newHeader =
        "PD52_DITTA_CG18 = " + company + " AND PD52_CODICE = ? AND PD52_VERSIONE = " + newVersion;
    const long copied = CopyRows(*connection_, "PD53_CICLIFASI",
                                 {{"PD53_CODICE_PD52", "?", {newCycle}}, {"PD53_VERSIONE_PD52", newVersion}}, {},
                                 "PD53_DITTA_CG18 = " + company + " AND PD53_CODICE_PD52 = ? AND PD53_VERSIONE_PD52 = " +
                                     db::SqlNumber(versioneOrigine) + " AND EXISTS (SELECT 1 FROM PD52_ANAGCICLI WHERE " +
                                     newHeader + ")",
                                 true, {db::Variant(cicloOrigine), newCycle});
    if (copied == 0 && connection_
                               ->ExecuteWith("SELECT PD52_CODICE FROM PD52_ANAGCICLI WHERE " + newHeader,
                                             {{{}, newCycle}}, nullptr, db::kCommonSqlText)
                               ->RecordCount() == 0)
        throw db::Error(db::errc::InvalidArgument,
                        "Ciclo " + cicloNuovo + " versione " + newVersion + " inesistente: fasi non copiate",
                        "CycleService");
    return db::Variant(copied);
}

}  // namespace host
