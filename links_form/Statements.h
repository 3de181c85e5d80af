#pragma once
// The statements the links form writes itself, in the ERP's own wording. Company codes go in as numbers
// (SqlNumber) and codes between quotes with their quotes doubled (SqlEscape): nothing typed into a field
// can change the shape of a statement.
#include <string>

#include "db/Variant.h"

namespace links_form {

// --- Link records ---

// The link header of a model (none, or one row).
std::string SqlTestataAgganci(const std::string& ditta, const std::string& modello);
// The empty row set the row frame starts with.
std::string SqlRigheVuote();
// The rows of a header, ordered by fabric; without a header key, no row.
std::string SqlRigheAgganci(const std::string& guidTestata);
// The same rows, read to be keyed again to the header (a header still being entered).
std::string SqlRigheAgganciRichiave(const std::string& guidTestata);
// Every row of a header, when the header is deleted.
std::string SqlEliminaRigheTestata(const std::string& guidTestata, const std::string& ditta);
// A new key made by the database.
inline constexpr const char* kSqlNuovaChiave = "SELECT NEWID() AS NEWGUID";

// --- Lookups and decodes of the header fields ---

// The fabrics of the model's standard bill of materials (main fabric lookup).
std::string SqlTessutiDiba(const std::string& ditta, const std::string& modello);
// One fabric of that bill (main fabric decode).
std::string SqlDecodificaTessutoDiba(const std::string& ditta, const std::string& modello, const std::string& tessuto);
// The line of the main fabric in the model's bill with that sequence (sequence decode). `sequenza` is the
// typed text: a text that is not a number decodes nothing.
std::string SqlDecodificaSequenza(const std::string& ditta, const std::string& modello, const std::string& tessuto,
                                  const std::string& sequenza);
// The prefixes already used with the model (prefix lookup).
std::string SqlPrefissiModello(const std::string& ditta, const std::string& modello);

// The value, or `predefinito` when the value is Empty, Null or its text is empty.
db::Variant NVLTesto(const db::Variant& valore, const db::Variant& predefinito);

}  // namespace links_form
