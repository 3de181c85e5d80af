#pragma once
// The mass duplication run (button CMD_DUPLMASS): every ticked article of the mass selection gets a new
// code derived from its own, and CreaArticolo creates it; existing codes are logged and skipped.
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "generation/Completion.h"
#include "generation/GenerationContext.h"
#include "generation/RunOutcome.h"
#include "generation/RunPort.h"

namespace mass_duplication {

// Texts of the run.
inline constexpr const char* kMsgTestoMancante = "Campo obbligatorio o dati inseriti non validi!";
inline constexpr const char* kTitoloTestoMancante = "Agganci/Aperture";
inline constexpr const char* kLogInizio = "Inizio duplicazione per l'articolo:  ";
inline constexpr const char* kLogFine = "Fine duplicazione per l'articolo:  ";
inline constexpr const char* kFiltroSelezionati = "SEL = 1";

// "L'articolo <code> è già esistente. ARTICOLO NON GENERATO!! "
std::string LogGiaEsistente(const std::string& codice);
// The question asked for a code longer than `massimo` characters.
std::string DomandaCodiceLungo(long massimo);
// "Duplicazione dell'articolo : <old> (<done> di<total>)"
std::string TestoProgresso(const std::string& vecchio, long fatti, long totale);

// What the mass tab holds for a run.
struct MassRequest {
    // The mass selection (MG66_CODART, MG87_DESCART, SEL): the run filters it on the ticked articles and
    // walks it; it is left filtered on "SEL = 1".
    db::RecordsetPtr selection;
    std::string text;         // TXT_PREFISSODART as typed
    std::string mode;         // the key of CBO_PREFISSO
    std::string description;  // TXT_DESCRD: the new description ("" keeps each article's own)
    generation::ParametriMassivi parameters;  // the parameters frame
    db::RecordsetPtr variantSelection;        // the variant form's choices; null when not configured
};

// The run: questions, progress and the log go to `port`; what became of each article comes back.
generation::RunOutcome RunMassDuplication(const generation::GenerationContext& context, generation::IRunPort& port,
                                          const MassRequest& request);

// What the run would do with one ticked article, found without writing anything.
struct AnteprimaArticolo {
    std::string vecchio;
    std::string nuovo;       // "" when the mode gives none
    long massimo = 0;
    bool troppoLungo = false;
    std::string finale;      // the code the run writes: `nuovo`, truncated when the user agrees
    bool esiste = false;     // an article with the final code exists
    std::string doppione;    // the earlier article of the run that gets the same final code ("" when none)
};
// `troncare`: the answer the user would give to the too-long-code question.
std::vector<AnteprimaArticolo> AnteprimaDuplicazione(const generation::GenerationContext& context,
                                                     const MassRequest& request, bool troncare = false);

}  // namespace mass_duplication
