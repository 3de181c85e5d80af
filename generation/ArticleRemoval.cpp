#include "generation/ArticleRemoval.h"

#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/ComponentInfo.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/HostObject.h"
#include "db/Transaction.h"

namespace generation {
namespace {

constexpr const char* kProcedure = "EliminaArticoloGenerato";

// "(12, 15)": the identifiers of the article's own standard bills of materials; "()" when it has none.
std::string ElencoDistinte(db::Connection& c, const db::Variant& ditta, const std::string& codice) {
    auto rs = c.Execute(";WITH CTE1 AS (" + std::string("SELECT CAST(PD95_IDDISBA AS VARCHAR(18)) AS IDDISBA ") +
                        "FROM PD95_DISBA WITH (NOLOCK)" + "WHERE PD95_DITTA_CG18 = " + db::SqlNumber(ditta) +
                        " AND" + "      PD95_TIPO_DISTINTA = 0 AND" + "      PD95_CODART_MG66 = '" +
                        db::SqlEscape(codice) + "' AND" + "      PD95_OPZIONE = '' AND" +
                        "      PD95_CODICE_DB = '' ) " +
                        "SELECT STUFF ((SELECT ', ' + IDDISBA + '' FROM CTE1 FOR XML PATH ('')), 1, 2, '') AS ELENCO ");
    std::string list;
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        list = entry::Pfun_Testo(rs->GetFields()["ELENCO"].Value());
    }
    return "(" + list + ")";
}

void EliminaDistinte(const GenerationContext& contesto, const std::string& elenco) {
    auto bills = Richiesto(entry::Host().CreateElabDisba(), "ClsElabDisba", kProcedure);
    bills->ActiveInterface(contesto.programma);
    bills->Connection(contesto.connessione);
    if (elenco != "()") bills->EliminaDistinte(elenco);
    bills->Connection(nullptr);
    bills->ActiveInterface(nullptr);
}

}  // namespace

bool EliminaArticoloGenerato(const GenerationContext& contesto, const std::string& codice) {
    auto& c = *Richiesto(contesto.connessione, "Connessione", kProcedure);
    db::Transaction unit(c);
    EliminaDistinte(contesto, ElencoDistinte(c, contesto.ditta, codice));

    // Nothing more to remove: the bills of a code without an article went with the step above.
    if (!EsisteArticolo(c, contesto.ditta, codice)) {
        unit.Commit();
        return true;
    }
    auto article = Richiesto(entry::Host().CreateBoConsana(), "ClsBoConsana", kProcedure);
    article->ActiveInterface(contesto.programma);
    article->Connection(contesto.connessione);
    std::string errorText;
    const long status = article->EliminaArticolo(codice, errorText);
    article->Connection(nullptr);
    if (status != 0) {
        unit.Rollback();
        if (contesto.messaggi) contesto.messaggi->MsgBox(errorText, kStileCritico, entry::kComponentTitle);
        return false;
    }
    unit.Commit();
    return true;
}

}  // namespace generation
