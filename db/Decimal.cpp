#include "db/Decimal.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include <fmt/format.h>

#include "db/Error.h"
#include "db/NumberText.h"

namespace db {
namespace {

using Wide = __int128;

constexpr int kMaxScale = 28;  // as VB's Decimal
constexpr int kMaxPow = 38;    // 10^38 still fits in a Wide

Wide Pow10(int k) {
    Wide p = 1;
    for (int i = 0; i < k; ++i) p *= 10;
    return p;
}

bool FitsInt64(Wide v) {
    return v >= std::numeric_limits<std::int64_t>::min() && v <= std::numeric_limits<std::int64_t>::max();
}

enum class Rounding { HalfAwayFromZero, HalfEven };

// unscaled / 10^drop, rounded.
Wide DropDigits(std::int64_t unscaled, int drop, Rounding mode) {
    if (drop > kMaxPow) return 0;  // |unscaled| < 10^19, far below half of 10^drop
    const Wide p = Pow10(drop);
    const Wide u = unscaled;
    Wide q = u / p;
    Wide r = u % p;
    if (r < 0) r = -r;
    const int sign = u < 0 ? -1 : 1;
    const bool up = mode == Rounding::HalfAwayFromZero ? 2 * r >= p : (2 * r > p || (2 * r == p && q % 2 != 0));
    if (up) q += sign;
    return q;
}

Decimal Rescaled(const Decimal& d, int scale, Rounding mode) {
    const int diff = scale - d.Scale();
    if (diff >= 0) {
        if (d.Unscaled() == 0) return Decimal(0, scale);
        if (diff > 19) throw Error(errc::Overflow);
        const Wide v = static_cast<Wide>(d.Unscaled()) * Pow10(diff);
        if (!FitsInt64(v)) throw Error(errc::Overflow);
        return Decimal(static_cast<std::int64_t>(v), scale);
    }
    const Wide v = DropDigits(d.Unscaled(), -diff, mode);
    if (!FitsInt64(v)) throw Error(errc::Overflow);
    return Decimal(static_cast<std::int64_t>(v), scale);
}

Decimal WithoutTrailingZeros(std::int64_t unscaled, int scale) {
    while (scale > 0 && unscaled % 10 == 0) {
        unscaled /= 10;
        --scale;
    }
    return Decimal(unscaled, scale);
}

// The first `count` digits of `digits` as a number, or -1 when more than 19 digits are asked for.
Wide LeadingValue(const std::string& digits, int count) {
    if (count > 19) return -1;
    Wide v = 0;
    for (int i = 0; i < count; ++i) v = v * 10 + (digits[static_cast<std::size_t>(i)] - '0');
    return v;
}

Decimal FromNumberText(const NumberText& number) {
    if (number.IsZero()) return Decimal();
    const int length = static_cast<int>(number.digits.size());
    const int sign = number.negative ? -1 : 1;

    if (number.exponent >= 0) {
        if (length + number.exponent > 19) throw Error(errc::Overflow);
        const Wide v = sign * LeadingValue(number.digits, length) * Pow10(number.exponent);
        if (!FitsInt64(v)) throw Error(errc::Overflow);
        return Decimal(static_cast<std::int64_t>(v), 0);
    }

    // Keep as many decimals as fit, rounding off the rest.
    const int scale = -number.exponent;
    int kept = std::min(scale, kMaxScale);
    if (length - (scale - kept) > 19) kept -= length - (scale - kept) - 19;
    for (; kept >= 0; --kept) {
        const int keepLength = length - (scale - kept);
        Wide v = 0;
        bool up = false;
        if (keepLength < 0) {
            up = false;
        } else if (keepLength == 0) {
            up = number.digits[0] >= '5';
        } else {
            v = LeadingValue(number.digits, keepLength);
            up = keepLength < length && number.digits[static_cast<std::size_t>(keepLength)] >= '5';
        }
        if (up) ++v;
        v *= sign;
        if (FitsInt64(v)) return WithoutTrailingZeros(static_cast<std::int64_t>(v), kept);
    }
    throw Error(errc::Overflow);
}

}  // namespace

Decimal Decimal::FromDouble(double v) {
    if (!std::isfinite(v)) throw Error(errc::Overflow);
    // The 15 significant digits a Double really carries (what CStr shows), so 123456789.123 does not
    // become 123456789.1229999959; then at most 10 decimals.
    const Decimal d = FromNumberText(*ScanNumber(fmt::format("{:.14E}", v)));
    if (d.Scale() <= 10) return d;
    const Decimal rounded = d.Rescale(10);
    return WithoutTrailingZeros(rounded.Unscaled(), rounded.Scale());
}

Decimal Decimal::Parse(const std::string& text) {
    auto number = ScanNumber(text);
    if (!number) throw Error(errc::TypeMismatch);
    return FromNumberText(*number);
}

double Decimal::ToDouble() const {
    NumberText number;
    if (unscaled_ == 0) return 0.0;
    number.negative = unscaled_ < 0;
    Wide magnitude = unscaled_;
    if (magnitude < 0) magnitude = -magnitude;
    number.digits = fmt::format("{}", static_cast<std::uint64_t>(magnitude));
    number.exponent = -scale_;
    return number.ToDouble();
}

std::string Decimal::ToString() const {
    if (unscaled_ == 0) return "0";
    Wide magnitude = unscaled_;
    if (magnitude < 0) magnitude = -magnitude;
    std::string digits = fmt::format("{}", static_cast<std::uint64_t>(magnitude));
    std::string sign = unscaled_ < 0 ? "-" : "";
    if (scale_ <= 0) return sign + digits + std::string(static_cast<std::size_t>(-scale_), '0');

    const auto scale = static_cast<std::size_t>(scale_);
    if (digits.size() <= scale) digits.insert(0, scale - digits.size() + 1, '0');
    std::string whole = digits.substr(0, digits.size() - scale);
    std::string fraction = digits.substr(digits.size() - scale);
    fraction.erase(fraction.find_last_not_of('0') + 1);  // npos + 1 == 0: all zeros go
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

Decimal Decimal::Rescale(int scale) const { return Rescaled(*this, scale, Rounding::HalfAwayFromZero); }

Decimal Decimal::RoundHalfEven(int scale) const { return Rescaled(*this, scale, Rounding::HalfEven); }

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    const int diff = a.scale_ - b.scale_;
    if (diff == 0) return a.unscaled_ <=> b.unscaled_;
    if (diff > 0) {
        // Compare a.u with b.u * 10^diff. Beyond 10^19 the scaled side dominates unless it is zero.
        if (diff > 19 && b.unscaled_ != 0) return b.unscaled_ > 0 ? std::strong_ordering::less : std::strong_ordering::greater;
        if (diff > 19) return a.unscaled_ <=> 0;
        return static_cast<Wide>(a.unscaled_) <=> static_cast<Wide>(b.unscaled_) * Pow10(diff);
    }
    if (-diff > 19 && a.unscaled_ != 0) return a.unscaled_ > 0 ? std::strong_ordering::greater : std::strong_ordering::less;
    if (-diff > 19) return 0 <=> b.unscaled_;
    return static_cast<Wide>(a.unscaled_) * Pow10(-diff) <=> static_cast<Wide>(b.unscaled_);
}

bool operator==(const Decimal& a, const Decimal& b) { return (a <=> b) == 0; }

bool operator<(const Decimal& a, const Decimal& b) { return (a <=> b) < 0; }

}  // namespace db
