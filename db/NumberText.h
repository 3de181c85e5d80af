#pragma once
// A number written as text, read the way VB's conversions read one. Shared by CDbl, CDec and SqlNumber
// so that every place accepts exactly the same texts.
#include <optional>
#include <string>
#include <string_view>

namespace db {

// value = (negative ? -1 : 1) * digits * 10^exponent
struct NumberText {
    bool negative = false;
    std::string digits;  // significant digits without leading or trailing zeros; empty for zero
    int exponent = 0;

    bool IsZero() const { return digits.empty(); }
    double ToDouble() const;  // Error 6 when beyond the range of a Double; tiny values become 0
    std::string ToFixed() const;  // "-12.5", "0.001", "100": plain decimal text, never an exponent
};

// Blanks (spaces, tabs) around, an optional sign, digits with an optional '.', an optional exponent
// introduced by E or D ("1.5", " -12 ", ".5", "3.", "1E+20", "2D3"). Anything else gives nothing.
// Locale forms (thousands separators, ',' as decimal mark) and VB's &H/&O prefixes are not accepted.
std::optional<NumberText> ScanNumber(std::string_view text);

}  // namespace db
