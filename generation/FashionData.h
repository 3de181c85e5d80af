#pragma once
// The company's fashion data a generation run reads: seasons by code and by identifier, and the values of
// the fashion parameters (FA00_PARAMETRI).
#include <string>

#include "db/Connection.h"
#include "db/Variant.h"
#include "engine/RunConstants.h"

namespace generation {

// The identifier of the season with code `codice` (right-trimmed); 0 when the company has no such season.
// Inside a run, read once per run through the run's `constants`.
long Get_MG5T_IDSTAGIONE(db::Connection& connessione, const db::Variant& ditta, const std::string& codice,
                         engine::RunConstants* constants = nullptr);

// The code of the season with identifier `id`, right-trimmed; empty when the company has no such season.
std::string CodiceStagione(db::Connection& connessione, const db::Variant& ditta, const db::Variant& id,
                           engine::RunConstants* constants = nullptr);

// The value of the fashion parameter `colonna` (a column of FA00_PARAMETRI) as a whole number; 0 when the
// company has no parameters row or the value is Null. Error 5 for a name that is not of the form
// FA00_<letters, digits, underscores>: the name goes into the statement as it is.
long ValoreParametroFashion(db::Connection& connessione, const db::Variant& ditta, const std::string& colonna);

}  // namespace generation
