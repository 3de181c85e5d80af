#pragma once
// Whether the company has an article with the given code.
#include <string>

#include "db/Connection.h"
#include "db/Variant.h"

namespace generation {

bool EsisteArticolo(db::Connection& connessione, const db::Variant& ditta, const std::string& codice);

}  // namespace generation
