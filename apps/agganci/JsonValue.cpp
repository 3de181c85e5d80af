#include "apps/agganci/JsonValue.h"

#include <cmath>

namespace app {

nlohmann::json JsonValue(const db::Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return nullptr;
    if (v.Type() == db::VarType::Boolean) return v.CLng() != 0;
    // By the value's type, not its text: a code such as "001" stays a text.
    const auto t = v.Type();
    if (t == db::VarType::Integer || t == db::VarType::Long || t == db::VarType::Double || t == db::VarType::Decimal) {
        const double d = v.CDbl();
        if (std::floor(d) == d && std::fabs(d) < 9e15) return static_cast<long long>(d);
        return d;
    }
    return db::RTrim(v.Text());
}

nlohmann::json JsonNumber(const std::string& shown) {
    const std::string text = db::Trim(shown);
    if (text.empty()) return nullptr;
    const db::Variant v(text);
    return v.IsNumeric() ? JsonValue(db::Variant(v.CDec())) : nlohmann::json(text);
}

}  // namespace app
