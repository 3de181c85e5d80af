#pragma once
// VB's Variant: the value type every field, parameter and property of the component carries.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "db/Decimal.h"
#include "db/Object.h"

namespace db {

enum class VarType { Empty, Null, Missing, Boolean, Integer, Long, Double, Decimal, String, Date, Object };

// A date as VB keeps it: days since 1899-12-30, fraction = time of day.
struct Date {
    double serial = 0;
    static Date FromParts(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0);
    static Date Parse(const std::string& text);  // "YYYY-MM-DD[ HH:MM:SS[.fff]]"; throws Error 13
    std::string ToIso() const;                   // "YYYY-MM-DD HH:MM:SS"
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
    Variant(long v);          // Long (checked against the 32-bit range: Error 6)
    Variant(long long v);     // Long when it fits, else Decimal
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
    bool IsNumeric() const;  // VB IsNumeric: numbers, Booleans, and texts that parse as numbers
    bool IsString() const { return type_ == VarType::String; }

    // VB conversions. Null raises 94 ("Invalid use of Null") except CStr-like joins (see Concat);
    // unparseable text raises 13; out of range raises 6.
    bool CBool() const;
    std::int16_t CInt() const;  // rounds half to even
    std::int32_t CLng() const;  // rounds half to even
    double CDbl() const;
    Decimal CDec() const;
    std::string CStr() const;   // Empty -> "", Boolean -> "True"/"False", Double as VB prints it
    Date CDate() const;
    ObjectPtr AsObject() const;  // Error 424 when not an object
    template <class T>
    std::shared_ptr<T> As() const { return std::dynamic_pointer_cast<T>(AsObject()); }

    // Text of the value as `&` would give it: Null and Empty give "".
    std::string Text() const;

    // VB comparison for `=`; Null compares unequal to everything. Texts compare binary.
    bool Equals(const Variant& other) const;
    friend bool operator==(const Variant& a, const Variant& b) { return a.Equals(b); }

private:
    VarType type_ = VarType::Empty;
    bool b_ = false;
    std::int64_t i_ = 0;
    double d_ = 0;
    Decimal dec_;
    std::string s_;
    ObjectPtr o_;
};

// VB `&`: concatenation where Null and Empty are the empty text.
Variant Concat(const Variant& a, const Variant& b);

// VB string functions. Lengths and positions count characters (UTF-8), not bytes.
std::string Trim(std::string_view s);   // blanks only, as VB
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::size_t Len(std::string_view s);
std::string Left(std::string_view s, std::size_t n);
std::string Right(std::string_view s, std::size_t n);
std::string Mid(std::string_view s, std::size_t start1, std::size_t n = std::string::npos);  // 1-based
std::string UCase(std::string_view s);

}  // namespace db
