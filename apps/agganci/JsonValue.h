#pragma once
// A database value as JSON: numbers as numbers, texts without their padding, NULL as null.
#include <string>

#include <nlohmann/json.hpp>

#include "db/Variant.h"

namespace app {

nlohmann::json JsonValue(const db::Variant& v);

// A number a form shows as text ("1.55", "10"): the number, or null when the field is empty.
nlohmann::json JsonNumber(const std::string& shown);

// The document as printed. A text that is not valid UTF-8 (a value another program stored) shows U+FFFD in
// place of its bad bytes: nlohmann's default would throw, and the command would fail after its work was done.
template <class Json>
std::string JsonText(const Json& document, int indent = 2) {
    return document.dump(indent, ' ', false, Json::error_handler_t::replace);
}

}  // namespace app
