#pragma once
// The articles the mass run may duplicate: those satisfying the advanced query, written into the global
// temporary table ##TABTEMP and read back into the mass-selection recordset (a client-side copy with a
// tick, SEL, per article).
//
// ##TABTEMP belongs to the article selection alone: the variant list keeps its own table
// (##TABTEMP_VARIANTI), so opening the variant form never destroys the selection or the ticks on screen.
#include <string>

#include "db/Recordset.h"
#include "generation/GenerationContext.h"

namespace mass_duplication {

inline constexpr const char* kTabellaArticoli = "##TABTEMP";

// The selection statement. `entita` is the attribute entity of articles; `condizione` is the query
// control's condition text, appended unchanged (the control quotes every value and names only defined
// fields, so it is a continuation of the WHERE clause and nothing else).
std::string SelectionStatement(const std::string& ditta, long entita, const std::string& condizione);

// Drops ##TABTEMP; errors of the drop are ignored on purpose (a missing table is the usual case).
void EliminaTabellaTemporanea(const db::ConnectionPtr& connessione, const std::string& tabella);

// Builds the selection and opens it into `selezione`. Errors are reported under "RecuperaArticoli";
// `selezione` then keeps what it held. True when the new selection is in place.
bool RecuperaArticoli(const generation::GenerationContext& contesto, long entita, const std::string& condizione,
                      db::RecordsetPtr& selezione);

}  // namespace mass_duplication
