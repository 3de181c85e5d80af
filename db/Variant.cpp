#include "db/Variant.h"

#include <cmath>
#include <limits>

#include <fmt/format.h>

#include "db/Error.h"
#include "db/NumberText.h"

namespace db {
namespace {

constexpr std::int64_t kLongMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int32_t>::max();

// VB prints a Double with 15 significant digits, switching to E notation for large and small
// magnitudes exactly as %G does ("0.5", "1E+20", "1E-05").
std::string FormatDouble(double v) {
    if (v == 0) return "0";  // also -0
    return fmt::format("{:.15G}", v);
}

// Half to even, independent of the floating-point rounding mode.
double RoundHalfEven(double v) {
    const double down = std::floor(v);
    const double rest = v - down;
    if (rest > 0.5) return down + 1;
    if (rest < 0.5) return down;
    return std::fmod(down, 2) == 0 ? down : down + 1;
}

std::string TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// "True" / "False" in any case, blanks around allowed; nothing for other texts.
std::optional<bool> BooleanWord(std::string_view text) {
    const std::string word = TrimBlanks(text);
    if (EqualsIgnoringCase(word, "true")) return true;
    if (EqualsIgnoringCase(word, "false")) return false;
    return std::nullopt;
}

NumberText ScanOrMismatch(const std::string& text) {
    auto number = ScanNumber(text);
    if (!number) throw Error(errc::TypeMismatch);
    return *number;
}

bool IsNumberKind(VarType t) {
    switch (t) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Decimal:
    case VarType::Date: return true;
    default: return false;
    }
}

template <class T>
std::partial_ordering Order(const T& a, const T& b) {
    return a <=> b;
}

// Two values of number kinds, compared by value: as Doubles when one side is a Double or a Date, as
// Decimals when one side is a Decimal, else as integers.
std::partial_ordering CompareNumbers(const Variant& a, const Variant& b) {
    const auto isFloating = [](VarType t) { return t == VarType::Double || t == VarType::Date; };
    if (isFloating(a.Type()) || isFloating(b.Type())) return Order(a.CDbl(), b.CDbl());
    if (a.Type() == VarType::Decimal || b.Type() == VarType::Decimal) return Order(a.CDec(), b.CDec());
    return Order(a.CLng(), b.CLng());  // Boolean, Integer and Long all fit
}

// A numeric text as the number it reads as: a Decimal when it fits, else a Double.
Variant NumberOfText(const NumberText& number) {
    const std::string canonical = (number.negative ? "-" : "") + (number.IsZero() ? "0" : number.digits) + "E" +
                                  std::to_string(number.exponent);
    try {
        return Variant(Decimal::Parse(canonical));
    } catch (const Error&) {
        // Beyond 18 digits: as a Double, infinite when beyond that too.
        try {
            return Variant(number.ToDouble());
        } catch (const Error&) {
            return Variant(number.negative ? -HUGE_VAL : HUGE_VAL);
        }
    }
}

// A value of a number kind against a text.
std::partial_ordering CompareNumberWithText(const Variant& number, const std::string& text) {
    if (number.Type() == VarType::Boolean) {
        if (auto word = BooleanWord(text)) return CompareNumbers(number, Variant(*word));
    }
    if (auto scanned = ScanNumber(text)) return CompareNumbers(number, NumberOfText(*scanned));
    return std::partial_ordering::less;  // VB puts numbers before texts
}

}  // namespace

Variant Variant::Null() { return Variant(VarType::Null, std::monostate{}); }
Variant Variant::Missing() { return Variant(VarType::Missing, std::monostate{}); }

Variant::Variant(bool v) : type_(VarType::Boolean), value_(v) {}
Variant::Variant(std::int16_t v) : type_(VarType::Integer), value_(std::int64_t{v}) {}
Variant::Variant(int v) : type_(VarType::Long), value_(std::int64_t{v}) {}
Variant::Variant(long v) : Variant(FromWide(v)) {}
Variant::Variant(long long v) : Variant(FromWide(v)) {}
Variant::Variant(unsigned v) : Variant(FromWide(static_cast<long long>(v))) {}
Variant::Variant(unsigned long v) : Variant(static_cast<unsigned long long>(v)) {}
Variant::Variant(unsigned long long v) {
    if (v > static_cast<unsigned long long>(std::numeric_limits<long long>::max())) throw Error(errc::Overflow);
    *this = FromWide(static_cast<long long>(v));
}
Variant::Variant(double v) : type_(VarType::Double), value_(v) {}
Variant::Variant(const Decimal& v) : type_(VarType::Decimal), value_(v) {}
Variant::Variant(const char* v) : type_(VarType::String), value_(std::string(v ? v : "")) {}
Variant::Variant(std::string v) : type_(VarType::String), value_(std::move(v)) {}
Variant::Variant(std::string_view v) : type_(VarType::String), value_(std::string(v)) {}
Variant::Variant(Date v) : type_(VarType::Date), value_(v.serial) {}
Variant::Variant(ObjectPtr v) : type_(VarType::Object), value_(std::move(v)) {}

Variant Variant::FromWide(long long v) {
    if (v >= kLongMin && v <= kLongMax) return Variant(VarType::Long, std::int64_t{v});
    return Variant(VarType::Decimal, Decimal::FromInt(v));
}

void Variant::RequireValue() const {
    if (type_ == VarType::Null) throw Error(errc::InvalidUseOfNull);
    if (type_ == VarType::Missing || type_ == VarType::Object) throw Error(errc::TypeMismatch);
}

bool Variant::IsNumeric() const {
    switch (type_) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Decimal: return true;
    case VarType::String: return ScanNumber(Str()).has_value();
    default: return false;
    }
}

bool Variant::CBool() const {
    RequireValue();
    switch (type_) {
    case VarType::Empty: return false;
    case VarType::Boolean: return std::get<bool>(value_);
    case VarType::Integer:
    case VarType::Long: return Int() != 0;
    case VarType::Double:
    case VarType::Date: return Dbl() != 0;
    case VarType::Decimal: return Dec().Unscaled() != 0;
    case VarType::String:
        if (auto word = BooleanWord(Str())) return *word;
        return !ScanOrMismatch(Str()).IsZero();
    default: throw Error(errc::TypeMismatch);
    }
}

std::int32_t Variant::CLng() const {
    RequireValue();
    std::int64_t v = 0;
    switch (type_) {
    case VarType::Empty: v = 0; break;
    case VarType::Boolean: v = std::get<bool>(value_) ? -1 : 0; break;
    case VarType::Integer:
    case VarType::Long: v = Int(); break;
    case VarType::Decimal: {
        const Decimal rounded = Dec().RoundHalfEven(0);
        v = rounded.Unscaled();
        break;
    }
    case VarType::Double:
    case VarType::Date:
    case VarType::String: {
        const double r = RoundHalfEven(CDbl());
        if (!(r >= static_cast<double>(kLongMin) && r <= static_cast<double>(kLongMax))) throw Error(errc::Overflow);
        v = static_cast<std::int64_t>(r);
        break;
    }
    default: throw Error(errc::TypeMismatch);
    }
    if (v < kLongMin || v > kLongMax) throw Error(errc::Overflow);
    return static_cast<std::int32_t>(v);
}

std::int16_t Variant::CInt() const {
    // Integer's range is within Long's, and rounding gives the same integer either way.
    const std::int32_t v = CLng();
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw Error(errc::Overflow);
    return static_cast<std::int16_t>(v);
}

double Variant::CDbl() const {
    RequireValue();
    switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case VarType::Integer:
    case VarType::Long: return static_cast<double>(Int());
    case VarType::Double:
    case VarType::Date: return Dbl();
    case VarType::Decimal: return Dec().ToDouble();
    case VarType::String: return ScanOrMismatch(Str()).ToDouble();
    default: throw Error(errc::TypeMismatch);
    }
}

Decimal Variant::CDec() const {
    RequireValue();
    switch (type_) {
    case VarType::Empty: return Decimal();
    case VarType::Boolean: return Decimal::FromInt(std::get<bool>(value_) ? -1 : 0);
    case VarType::Integer:
    case VarType::Long: return Decimal::FromInt(Int());
    case VarType::Double:
    case VarType::Date: return Decimal::FromDouble(Dbl());
    case VarType::Decimal: return Dec();
    case VarType::String: return Decimal::Parse(Str());
    default: throw Error(errc::TypeMismatch);
    }
}

std::string Variant::CStr() const {
    RequireValue();
    switch (type_) {
    case VarType::Empty: return {};
    case VarType::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case VarType::Integer:
    case VarType::Long: return std::to_string(Int());
    case VarType::Double: return FormatDouble(Dbl());
    case VarType::Decimal: return Dec().ToString();
    case VarType::String: return Str();
    case VarType::Date: return Date{Dbl()}.ToIso();
    default: throw Error(errc::TypeMismatch);
    }
}

Date Variant::CDate() const {
    RequireValue();
    switch (type_) {
    case VarType::Date: return Date{Dbl()};
    case VarType::String: return Date::Parse(Str());
    default: return Date{CDbl()};
    }
}

ObjectPtr Variant::AsObject() const {
    if (type_ != VarType::Object) throw Error(errc::ObjectRequired);
    return std::get<ObjectPtr>(value_);
}

std::string Variant::Text() const {
    switch (type_) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Missing: return {};
    default: return CStr();
    }
}

std::partial_ordering Variant::Compare(const Variant& other) const {
    const Variant& a = *this;
    const Variant& b = other;
    const VarType ta = a.type_;
    const VarType tb = b.type_;
    if (ta == VarType::Null || tb == VarType::Null) return std::partial_ordering::unordered;
    if (ta == VarType::Missing || tb == VarType::Missing)
        return ta == tb ? std::partial_ordering::equivalent : std::partial_ordering::unordered;
    if (ta == VarType::Object || tb == VarType::Object) {
        if (ta == tb && std::get<ObjectPtr>(a.value_) == std::get<ObjectPtr>(b.value_))
            return std::partial_ordering::equivalent;
        return std::partial_ordering::unordered;
    }
    if (ta == VarType::Empty && tb == VarType::Empty) return std::partial_ordering::equivalent;
    if (ta == VarType::Empty) return (tb == VarType::String ? Variant("") : Variant(0)).Compare(b);
    if (tb == VarType::Empty) return a.Compare(ta == VarType::String ? Variant("") : Variant(0));

    if (ta == VarType::String && tb == VarType::String) return Order(a.Str().compare(b.Str()), 0);
    if (IsNumberKind(ta) && IsNumberKind(tb)) return CompareNumbers(a, b);
    if (tb == VarType::String) return CompareNumberWithText(a, b.Str());
    return 0 <=> CompareNumberWithText(b, a.Str());
}

bool Variant::Equals(const Variant& other) const { return Compare(other) == 0; }

Variant Concat(const Variant& a, const Variant& b) {
    if (a.IsNull() && b.IsNull()) return Variant::Null();
    return Variant(a.Text() + b.Text());
}

}  // namespace db
