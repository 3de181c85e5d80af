#include "db/Quote.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "db/Error.h"
#include "db/NumberText.h"

namespace db {
namespace {

// No column the component writes needs more; it also keeps an absurd exponent ("1E+99999") from
// turning into a statement of a hundred thousand zeros.
constexpr std::size_t kMaxFixedLength = 40;

std::string Fixed(const NumberText& number) {
    const std::string text = number.ToFixed();
    if (text.size() > kMaxFixedLength) throw Error(errc::Overflow);
    return text;
}

// `text` with every quote doubled, after what `out` holds; the stretches between quotes are copied whole.
void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t quote = text.find('\''); quote != std::string_view::npos; quote = text.find('\'', from)) {
        out.append(text, from, quote + 1 - from);
        out += '\'';
        from = quote + 1;
    }
    out.append(text, from);
}

}  // namespace

std::string SqlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    AppendEscaped(out, text);
    return out;
}

std::string SqlText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    out += '\'';
    AppendEscaped(out, text);
    out += '\'';
    return out;
}

std::string SqlNationalText(std::string_view text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? SqlText(text) : "N" + SqlText(text);
}

std::string SqlNumber(const Variant& value) {
    switch (value.Type()) {
    case VarType::Boolean: return value.CBool() ? "-1" : "0";
    case VarType::Integer:
    case VarType::Long:
    case VarType::Decimal: return value.CStr();
    case VarType::Double: {
        const double d = value.CDbl();
        if (!std::isfinite(d)) throw Error(errc::TypeMismatch);
        // 15 significant digits, as CStr shows the value, but written out without an exponent.
        return Fixed(*ScanNumber(fmt::format("{:.14E}", d)));
    }
    case VarType::String: {
        // Normalised rather than copied: only digits, '-' and '.' can come out.
        auto number = ScanNumber(value.CStr());
        if (!number) throw Error(errc::TypeMismatch);
        return Fixed(*number);
    }
    default: throw Error(errc::TypeMismatch);
    }
}

}  // namespace db
