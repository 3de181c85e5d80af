#pragma once
// The link fabric in the bill of materials of a generated article: the copied bill still uses the model's
// main fabric; AggiornaDistinta replaces it with the link fabric (on every line that uses it, or only on
// the line with the given component sequence) and sets the quantity the link row asks for. The host's
// bill-of-materials utility does the work; this routine hands it the filters and reports what it says.
#include <string>

#include "generation/Completion.h"
#include "generation/GenerationContext.h"

namespace generation {

// The link header's side of the substitution.
struct TessutoPrincipale {
    std::string codice;  // TXT_TESSPRINC: the model's main fabric
    long sequenza = 0;   // TXT_SEQUENZA as a number (0 when empty): only the line with this sequence
};

// True when the substitution and the quantity update both succeeded. Anomalies are written to the log
// (kind 2) with the utility's text, an unexpected error as "Errore nella funzione: AggiornaDistinta - "
// and its description (kind 3); both give False. No message box. A quantity of 0 (or Null) on the row
// leaves the copied quantities. `origine` (the model) is part of the call only: the work is on the new
// article's bill.
bool AggiornaDistinta(const GenerationContext& contesto, const TessutoPrincipale& principale,
                      const RigaAggancio& riga, const std::string& nuovo, const std::string& origine,
                      const std::string& tessutoAggancio, const LogLineFn& log);

}  // namespace generation
