#pragma once
// The mass duplication run (button CMD_DUPLMASS): every ticked article of the mass selection gets a new
// code derived from its own, and CreaArticolo creates it; existing codes are logged and skipped.
#include <functional>
#include <memory>
#include <string>

#include "entry/Controls.h"
#include "generation/IGenerationForm.h"

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

// What the parameters frame holds beyond what the per-article routine reads.
struct ComandoMassivo {
    std::string testo;  // TXT_PREFISSODART as typed
    std::string modo;   // the key of CBO_PREFISSO
    std::shared_ptr<entry::IButton> CMD_LOGDUPL;
    std::function<void()> focusTesto;  // puts the focus on TXT_PREFISSODART
};

// The run; the form's mass selection is left filtered on "SEL = 1".
void CMD_DUPLMASS_Click(generation::IGenerationForm& form, const ComandoMassivo& comando);

// What the run would do with one ticked article, found without writing anything.
struct AnteprimaArticolo {
    std::string vecchio;
    std::string nuovo;       // "" when the mode gives none
    long massimo = 0;
    bool troppoLungo = false;
    bool esiste = false;
};
std::vector<AnteprimaArticolo> AnteprimaDuplicazione(generation::IGenerationForm& form, const ComandoMassivo& comando);

}  // namespace mass_duplication
