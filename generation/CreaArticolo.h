#pragma once
// Creation of one article from a source article, shared by the generation run (links tab) and the mass
// duplication run (mass tab); the form's active tab tells which of the two is running.
//
// The article is duplicated by the engine inside a transaction of its own, committed when every fatal
// step succeeded, then completed with the link row's (or the mass parameters') data and, on the links
// tab, given the link fabric in its bill of materials. A completion that fails removes the article again.
// Every outcome is written to the form's processing log; the program object's result properties describe
// the last article.
#include <string>

#include "generation/Completion.h"
#include "generation/GenerationContext.h"
#include "generation/IGenerationForm.h"

namespace generation {

// Texts of the routine.
inline constexpr const char* kMsgDatiMancanti = "Campo obbligatorio mancante o dati inseriti non validi!";
inline constexpr const char* kTitoloDatiMancanti = "Dati mancanti o errati";
inline constexpr const char* kLogGiaEsistente = "Errore: Codice articolo da generare già esistente! ";
inline constexpr const char* kLogNonGenerato = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";
inline constexpr const char* kStatoInCorso = "Creazione agganci in corso...";
inline constexpr const char* kStatoPronto = "Pronto";

// The connection, company, host interface and message service of the form.
ContestoGenerazione ContestoDelForm(const IGenerationForm& form);

// Creates `nuovo` from `origine`. `tessuto` is the link fabric (empty on the mass tab). `riga` is the link
// row being generated (links tab): its description, extended description, season, line, brand, typology and
// quantity go to the new article. Without a row the links tab takes the descriptions from the form's text
// boxes.
//
// True when the caller may record `nuovo`: the article was created, or it existed already (logged).
// False when data were missing (message shown) or the article was not created (logged, nothing of it
// left). Errors do not reach the caller: they take the failure path and are logged.
bool CreaArticolo(IGenerationForm& form, const std::string& origine, const std::string& nuovo,
                  const std::string& tessuto, const RigaAggancio* riga = nullptr);

}  // namespace generation
