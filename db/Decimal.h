#pragma once
// Exact decimal of up to 18 significant digits, enough for the NUMERIC columns and parameters used.
#include <cstdint>
#include <string>

namespace db {

class Decimal {
public:
    Decimal() = default;
    Decimal(std::int64_t unscaled, int scale) : unscaled_(unscaled), scale_(scale) {}
    static Decimal FromInt(std::int64_t v) { return Decimal(v, 0); }
    static Decimal FromDouble(double v);            // rounds to at most 10 decimals, trailing zeros dropped
    static Decimal Parse(const std::string& text);  // throws Error 13 when not a number

    std::int64_t Unscaled() const { return unscaled_; }
    int Scale() const { return scale_; }
    double ToDouble() const;
    std::string ToString() const;  // "12.5", "-3", "0.001": no trailing zeros, '.' as separator
    Decimal Rescale(int scale) const;  // rounds half away from zero, as NUMERIC(p,s) storage does

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend bool operator<(const Decimal& a, const Decimal& b);

private:
    std::int64_t unscaled_ = 0;
    int scale_ = 0;
};

}  // namespace db
