#pragma once
// VB's Variant: the value type every field, parameter and property of the component carries.
#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "db/Decimal.h"
#include "db/Object.h"

namespace db {

enum class VarType { Empty, Null, Missing, Boolean, Integer, Long, Double, Decimal, String, Date, Object };

// A date as VB keeps it: days since 1899-12-30, fraction = time of day.
struct Date {
    double serial = 0;
    static Date FromParts(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0);  // Error 5 when not a valid date
    static Date Parse(const std::string& text);  // "YYYY-MM-DD[( |T)HH:MM[:SS[.fff]]]"; throws Error 13
    // "YYYY-MM-DD HH:MM:SS", to the nearest second; Error 6 outside 100-01-01..9999-12-31, whose last second
    // is never rounded up into a year 10000.
    std::string ToIso() const;
    // How a date is stored as text (SQLite): ToIso, to the nearest millisecond with ".mmm" added when they are
    // not zero, so that copying a row keeps its dates exactly and Parse reads them back.
    std::string ToStoredText() const;
    friend bool operator==(Date a, Date b) { return a.serial == b.serial; }
};

class Variant {
public:
    Variant() = default;  // Empty
    static Variant Null();
    static Variant Missing();

    Variant(bool v);
    Variant(std::int16_t v);  // Integer
    Variant(int v);           // Long (VB literals in the component are Long unless said otherwise)
    Variant(long v);          // as long long: never throws, a value beyond 32 bits keeps every digit
    Variant(long long v);     // Long when it fits in 32 bits, else Decimal
    Variant(unsigned v);            // same rule (sizes and counts)
    Variant(unsigned long v);       // same rule; Error 6 beyond the range of a Decimal
    Variant(unsigned long long v);  // same rule; Error 6 beyond the range of a Decimal
    Variant(double v);
    Variant(const Decimal& v);
    Variant(const char* v);
    Variant(std::string v);
    Variant(std::string_view v);
    Variant(Date v);
    Variant(ObjectPtr v);  // Object; an empty pointer is Nothing
    template <class T>
    Variant(std::shared_ptr<T> v) : Variant(std::static_pointer_cast<Object>(std::move(v))) {}

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsMissing() const { return type_ == VarType::Missing; }
    bool IsObject() const { return type_ == VarType::Object; }
    // VB IsNumeric: numbers, Booleans, texts that parse as numbers, and (as in VB) Empty.
    bool IsNumeric() const;
    bool IsString() const { return type_ == VarType::String; }
    // The text a String variant holds, without the copy CStr makes; only for a variant that IsString.
    const std::string& HeldText() const { return Str(); }

    // VB conversions. Null raises 94 ("Invalid use of Null") except CStr-like joins (see Concat);
    // unparseable text raises 13; out of range raises 6. Missing and objects raise 13 (Missing is VB's
    // error value, which no conversion accepts).
    bool CBool() const;         // numbers: non-zero is True; texts "True"/"False" (any case) or numbers
    std::int16_t CInt() const;  // rounds half to even
    std::int32_t CLng() const;  // rounds half to even
    double CDbl() const;
    Decimal CDec() const;
    std::string CStr() const;   // Empty -> "", Boolean -> "True"/"False", Double as VB prints it, Date as ToIso
    Date CDate() const;         // numbers are serials; texts as Date::Parse
    ObjectPtr AsObject() const;  // Error 424 when not an object
    template <class T>
    std::shared_ptr<T> As() const { return std::dynamic_pointer_cast<T>(AsObject()); }

    // Text of the value as `&` would give it: Null and Empty give "". Missing gives "" too (VB would
    // print "Error 448", which no caller wants in a statement or a message).
    std::string Text() const;

    // VB comparison for `=`; Null compares unequal to everything. Texts compare binary.
    // `!=` is "not Equals", so Null != anything is true (VB's `<>` would give Null, which If treats as False).
    bool Equals(const Variant& other) const;
    friend bool operator==(const Variant& a, const Variant& b) { return a.Equals(b); }

    // VB comparison for `<`, `>`... as a C++ ordering (Equals is Compare == equivalent):
    // - Null on either side: unordered;
    // - numbers (Integer, Long, Double, Decimal, Boolean as -1/0, Date as its serial) compare by value;
    // - Empty is 0 against a number, "" against a text, and equals Empty;
    // - texts compare binary (byte by byte, which is code point order for UTF-8);
    // - a number against a text: by value when the text is a number (a Boolean also matches "True"/"False"),
    //   otherwise the number is less, as VB orders them;
    // - objects: equivalent when they are the same object (Nothing equals Nothing), else unordered;
    // - Missing equals Missing only.
    std::partial_ordering Compare(const Variant& other) const;

private:
    friend class PackedRow;  // packs and unpacks values slot by slot, without converting them

    // Integer and Long share the int64 slot, Date keeps its serial in the double slot; Empty, Null and
    // Missing carry nothing.
    using Payload = std::variant<std::monostate, bool, std::int64_t, double, Decimal, std::string, ObjectPtr>;

    Variant(VarType type, Payload payload) : type_(type), value_(std::move(payload)) {}
    static Variant FromWide(long long v);

    std::int64_t Int() const { return std::get<std::int64_t>(value_); }
    double Dbl() const { return std::get<double>(value_); }
    const Decimal& Dec() const { return std::get<Decimal>(value_); }
    const std::string& Str() const { return std::get<std::string>(value_); }
    void RequireValue() const;  // Error 94 for Null, 13 for Missing and objects

    VarType type_ = VarType::Empty;
    Payload value_;
};

// VB `&`: concatenation where Null and Empty are the empty text. As in VB, Null & Null is Null.
Variant Concat(const Variant& a, const Variant& b);

// VB string functions. Lengths and positions count characters (UTF-8), not bytes; a malformed byte
// counts as one character.
std::string Trim(std::string_view s);   // blanks only, as VB
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::size_t Len(std::string_view s);
std::string Left(std::string_view s, std::size_t n);
std::string Right(std::string_view s, std::size_t n);
// 1-based; start 0 raises Error 5, a start past the end gives "".
std::string Mid(std::string_view s, std::size_t start1, std::size_t n = std::string::npos);
// ASCII and the accented letters of Latin-1 (à -> À, ÿ -> Ÿ), as VB's: for texts shown, not for comparing them
// (the database does not fold ÿ; SameText and CodeKey compare as it does).
std::string UCase(std::string_view s);
// An ASCII letter in upper case, any other byte as it is: for names and SQL words, folded in place.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
// Equal but for case, folded as the database's text comparison folds it (db/sqlite/Collation.h): names and
// codes. Trailing blanks count.
bool SameText(std::string_view a, std::string_view b);
// Codes (and other keys) equal as the database holds them: case and trailing blanks aside.
bool SameCode(std::string_view a, std::string_view b);
// A code as the database tells codes apart: without its trailing blanks, folded as SameText folds it. Two codes
// have the same key exactly when the database holds them equal.
std::u32string CodeKey(std::string_view code);

}  // namespace db
