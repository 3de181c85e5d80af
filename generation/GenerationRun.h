#pragma once
// The generation run of the links tab (button CMD_DUPLICA, "&Genera"): for every link row of the model
// that has no generated article yet (or for every row, when regeneration is asked for) the code of the new
// article is composed and the article created by CreaArticolo; the code is then recorded on the row.
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "db/Variant.h"
#include "generation/FabricSubstitution.h"
#include "generation/GenerationContext.h"
#include "generation/RunLoop.h"
#include "generation/RunOutcome.h"
#include "generation/RunPort.h"

namespace generation {

// Texts of the run.
inline constexpr const char* kMsgVarianteColore =
    "Nei parametri fashion non è stato indicato quale variante rappresenta il colore.";
inline constexpr const char* kTitoloAttenzione = "Attenzione!";
inline constexpr const char* kLogInizioTessuto = "Inizio elaborazione per tessuto:  ";
inline constexpr const char* kLogFineTessuto = "Fine elaborazione per tessuto:  ";

// What the links tab holds for a run: the model, the parts of the new codes, the main fabric, the link rows.
struct GenerationRequest {
    std::string model;            // TXT_MODORIGINE
    std::string prefix;           // TXT_PREFISSO
    bool useAlternativeCode = false;  // CHK_CODALT ticked
    std::string alternativeCode;  // TXT_CODICEALTERNATIVO
    bool regenerate = false;      // ZEL_CHKRIGENERA: "Rigenera agganci esistenti"
    TessutoPrincipale mainFabric; // TXT_TESSPRINC and TXT_SEQUENZA
    // Link rows (FA64_AGGANCIDET) of the model, ordered by FA64_CODTESS_FA12; the run walks a clone and
    // writes FA64_ARTAGGANCIO_MG66 back through it with UpdateBatch.
    db::RecordsetPtr rows;
    db::RecordsetPtr variantSelection;  // the variant form's choices; null when not configured
};

// The question asked for a code longer than `massimo` characters.
std::string DomandaCodiceLungo(long massimo);

// Prefix + model (or the alternative code when asked for) + fabric, each trimmed.
std::string ComponiCodice(const GenerationRequest& request, const db::Variant& tessuto);

// The run: questions, progress and the log go to `port`; what became of each row comes back.
RunOutcome RunGeneration(const GenerationContext& context, IRunPort& port, const GenerationRequest& request);

// What the run would do with one link row, found without writing anything.
struct AnteprimaRiga {
    std::string tessuto;         // FA64_CODTESS_FA12, trimmed
    std::string codice;          // the code composed for the row
    std::string finale;          // the code the run writes: `codice`, truncated when the user agrees ("" when none)
    std::string generato;        // FA64_ARTAGGANCIO_MG66: the article already recorded ("" when none)
    long massimo = 0;            // the longest code the company accepts
    bool troppoLungo = false;    // the run would ask whether to truncate
    bool esiste = false;         // an article with the final code exists
    bool dellaRiga = false;      // ...and this row's generation created it: only such an article is regenerated
    std::string doppione;        // the fabric of an earlier row whose article gets the same final code ("" when none)
    std::string motivo;          // why the run would not create the article, found before it ("" when none)
};
// One entry per link row, in the order the run walks them; empty when there are no rows. `troncare`: the
// answer the user would give to the too-long-code question.
std::vector<AnteprimaRiga> AnteprimaGenerazione(const GenerationContext& context, const GenerationRequest& request,
                                                bool troncare = false);

}  // namespace generation
