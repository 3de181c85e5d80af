#include "generation/FabricSubstitution.h"

#include "db/Quote.h"
#include "entry/ErrorHandler.h"
#include "generation/HostObject.h"

namespace generation {
namespace {

constexpr long kModoSostituzione = 1;
constexpr long kModoQuantita = 2;

// The sequence clause of both filters. The quantity filter checks the same condition as the substitution
// filter: a sequence of 0 means every line, never "the line numbered 0".
std::string SequenceClause(long sequenza) {
    return sequenza != 0 ? " AND PD96_SEQCOMP = " + db::SqlNumber(db::Variant(sequenza)) : std::string();
}

}  // namespace

bool AggiornaDistinta(const GenerationContext& contesto, const TessutoPrincipale& principale,
                      const RigaAggancio& riga, const std::string& nuovo, const std::string& origine,
                      const std::string& tessutoAggancio, const LogLineFn& log) {
    auto write = [&](const std::string& text, long kind) {
        if (log) log(text, kind);
    };
    bool result = true;
    try {
        const std::string code = db::RTrim(nuovo);
        const std::string link = db::RTrim(tessutoAggancio);
        const std::string main = db::RTrim(principale.codice);
        const double quantity = riga.quantita.IsNull() || riga.quantita.IsEmpty() ? 0.0 : riga.quantita.CDbl();

        auto utility = Richiesto(entry::Host().CreateDisBaUtility(), "ClsDisBaUtility", "AggiornaDistinta");
        utility->Connection(contesto.connessione);
        utility->ActiveInterface(contesto.programma);
        utility->Modalita(kModoSostituzione);
        utility->Filtro("PD95_CODART_MG66 = '" + db::SqlEscape(code) + "'" + " AND PD96_COMPON = '" +
                        db::SqlEscape(main) + "'" + " AND PD95_OPZIONE = ''" + SequenceClause(principale.sequenza));
        utility->ComponenteDaSostituire(main);
        utility->ComponenteSostitutivo(link);
        utility->Quantita(0);

        if (utility->EseguiSostituzione(contesto.ditta)) {
            write("Sostituzione terminata con anomalie. Controllare esito elaborazione.", 2);
            write(utility->Anomalie(), 2);
            result = false;
        } else if (quantity != 0) {
            utility->Modalita(kModoQuantita);
            utility->Quantita(quantity);
            utility->Filtro("PD95_CODART_MG66 = '" + db::SqlEscape(code) + "' AND PD96_COMPON = '" +
                            db::SqlEscape(link) + "' AND   PD95_OPZIONE = ''" + SequenceClause(principale.sequenza));
            if (utility->EseguiAggiornamentoQuantita(contesto.ditta)) {
                write("Aggiornamento quantità necessaria non andata a buon fine.", 2);
                write(utility->Anomalie(), 2);
                result = false;
            }
        }
        utility->Connection(nullptr);
    } catch (...) {
        // Failures of the substitution go to the log, never to a message box: the run goes on unattended.
        const db::Error e = entry::ToError(std::current_exception(), "AggiornaDistinta");
        write("Errore nella funzione: AggiornaDistinta - " + e.Description(), 3);
        result = false;
    }
    return result;
}

}  // namespace generation
