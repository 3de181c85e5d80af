#pragma once
// The generation run of the links tab (button CMD_DUPLICA, "&Genera"): for every link row of the model
// that has no generated article yet (or for every row, when regeneration is asked for) the code of the new
// article is composed and the article created by CreaArticolo; the code is then recorded on the row.
#include <string>
#include <vector>

#include "db/Variant.h"
#include "generation/IGenerationForm.h"

namespace generation {

// Texts of the run.
inline constexpr const char* kMsgVarianteColore =
    "Nei parametri fashion non è stato indicato quale variante rappresenta il colore.";
inline constexpr const char* kTitoloAttenzione = "Attenzione!";
inline constexpr const char* kMsgVariantiNonConfigurate =
    "Attenzione! Gestione varianti non configurata. Procedere Ugualmente?";
inline constexpr const char* kCaptionProgresso = "Agganci\\Aperture";
inline constexpr const char* kLogInizioTessuto = "Inizio elaborazione per tessuto:  ";
inline constexpr const char* kLogFineTessuto = "Fine elaborazione per tessuto:  ";
// 96 underscores and a blank.
inline const std::string kSeparatoreLog = std::string(96, '_') + " ";

// Message-box styles the run uses.
inline constexpr long kStileSiNo = 4;
inline constexpr long kStileSiNoAnnulla = 3;
inline constexpr long kStileEsclamativo = 48;

// The question asked for a code longer than `massimo` characters.
std::string DomandaCodiceLungo(long massimo);

// Prefix + model (or the alternative code when CHK_CODALT is ticked) + fabric, each trimmed.
std::string ComponiCodice(const IGenerationForm& form, const db::Variant& tessuto);

// The run. Everything is reported through message boxes, the progress bar and the processing log.
void CMD_DUPLICA_ButtonClick(IGenerationForm& form);

// What the run would do with one link row, found without writing anything.
struct AnteprimaRiga {
    std::string tessuto;         // FA64_CODTESS_FA12, trimmed
    std::string codice;          // the code composed for the row
    std::string generato;        // FA64_ARTAGGANCIO_MG66: the article already recorded ("" when none)
    long massimo = 0;            // the longest code the company accepts
    bool troppoLungo = false;    // the run would ask whether to truncate
    bool esiste = false;         // an article with the (untruncated) code exists
};
// One entry per link row, in the order the run walks them; empty when the form holds no rows.
std::vector<AnteprimaRiga> AnteprimaGenerazione(const IGenerationForm& form);

}  // namespace generation
