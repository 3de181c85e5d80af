#pragma once
// Exact decimal of up to 18 significant digits, enough for the NUMERIC columns and parameters used.
#include <compare>
#include <cstdint>
#include <string>

namespace db {

class Decimal {
public:
    Decimal() = default;
    Decimal(std::int64_t unscaled, int scale) : unscaled_(unscaled), scale_(scale) {}
    static Decimal FromInt(std::int64_t v) { return Decimal(v, 0); }
    // The value to 15 significant digits (as VB shows a Double), then to at most 10 decimals (half away
    // from zero), trailing zeros dropped. Error 6 beyond the range of 18 digits; NaN and infinities are 6 too.
    static Decimal FromDouble(double v);
    // Any text ScanNumber accepts ("12.50", " -3 ", "1E3"). Throws Error 13 when not a number, Error 6
    // when the integer part does not fit; decimals beyond what fits are rounded half away from zero.
    // The result carries no trailing zeros ("12.50" has scale 1).
    static Decimal Parse(const std::string& text);

    std::int64_t Unscaled() const { return unscaled_; }
    int Scale() const { return scale_; }
    double ToDouble() const;
    std::string ToString() const;  // "12.5", "-3", "0.001": no trailing zeros, '.' as separator
    Decimal Rescale(int scale) const;  // rounds half away from zero, as NUMERIC(p,s) storage does; Error 6 on overflow
    Decimal RoundHalfEven(int scale) const;  // as VB's CInt/CLng round; Error 6 on overflow

    // Numeric comparisons: 1.5 equals 1.50.
    friend bool operator==(const Decimal& a, const Decimal& b);
    friend bool operator<(const Decimal& a, const Decimal& b);
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    std::int64_t unscaled_ = 0;
    int scale_ = 0;
};

}  // namespace db
