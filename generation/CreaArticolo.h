#pragma once
// Creation of one article from a source article, shared by the generation run (links tab), the mass
// duplication run (mass tab) and the command line's duplicate.
//
// The article is duplicated by the engine inside a transaction of its own, committed when every fatal
// step succeeded, then completed with the link row's (or the mass parameters') data and, for a link row,
// given the link fabric in its bill of materials. A completion that fails removes the article again.
// Every outcome is written to the run's processing log; the program object's result properties describe
// the last article.
#include <string>

#include "generation/ArticleRequest.h"
#include "generation/GenerationContext.h"
#include "generation/RunOutcome.h"
#include "generation/RunPort.h"

namespace generation {

// Texts of the routine.
inline constexpr const char* kMsgDatiMancanti = "Campo obbligatorio mancante o dati inseriti non validi!";
inline constexpr const char* kTitoloDatiMancanti = "Dati mancanti o errati";
inline constexpr const char* kLogGiaEsistente = "Errore: Codice articolo da generare già esistente! ";
inline constexpr const char* kLogNonGenerato = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";
inline constexpr const char* kStatoInCorso = "Creazione agganci in corso...";
inline constexpr const char* kStatoPronto = "Pronto";

// Creates `request.newCode` from `request.source`. Created, or AlreadyExists (logged: a link row records
// it), or NotGenerated with the reason (data missing: message shown; a failure: logged, nothing of the
// article left). Errors do not reach the caller: they take the failure path and are logged.
ArticleOutcome CreaArticolo(const GenerationContext& context, const ArticleRequest& request, IRunPort& port);

}  // namespace generation
