#pragma once
// A database value as JSON: numbers as numbers, texts without their padding, NULL as null.
#include <nlohmann/json.hpp>

#include "db/Variant.h"

namespace app {

nlohmann::json JsonValue(const db::Variant& v);

// A number a form shows as text ("1.55", "10"): the number, or null when the field is empty.
nlohmann::json JsonNumber(const std::string& shown);

}  // namespace app
