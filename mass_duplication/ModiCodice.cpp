#include "mass_duplication/ModiCodice.h"

#include "db/Quote.h"
#include "db/Recordset.h"
#include "mass_duplication/CodiceArticolo.h"

namespace mass_duplication {

std::vector<ModoCodice> ModiOfferti(bool codiceStrutturato, long articoliSelezionati) {
    std::vector<ModoCodice> modi;
    if (!codiceStrutturato) modi.push_back({kAggiungiPrefisso, "Aggiungi prefisso"});
    modi.push_back({kSostituisciParziale, "Sostituisci parziale"});
    if (articoliSelezionati < 2) modi.push_back({kSostituisciCompleta, "Sostituisci completa"});
    return modi;
}

bool CodiceStrutturato(const generation::GenerationContext& contesto) {
    if (!contesto.connessione) return false;
    try {
        auto rs = contesto.connessione->Execute(" SELECT *  " + std::string(" FROM MG6F_DIMEART") +
                                               " WHERE MG6F_DITTA_CG18 = " + db::SqlNumber(contesto.ditta));
        return rs && rs->RecordCount() > 0;
    } catch (...) {
        // Deliberately quiet: a company whose segment table cannot be read is treated as unstructured.
        return false;
    }
}

}  // namespace mass_duplication
