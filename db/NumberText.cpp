#include "db/NumberText.h"

#include <charconv>
#include <system_error>

#include "db/Error.h"

namespace db {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Far beyond any Double or Decimal; keeps the exponent arithmetic away from int overflow.
constexpr int kExponentLimit = 100000;

}  // namespace

double NumberText::ToDouble() const {
    if (IsZero()) return 0.0;
    std::string text = (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        const long long order = static_cast<long long>(exponent) + static_cast<long long>(digits.size()) - 1;
        if (order < 0) return 0.0;  // underflow: VB gives 0 as well
        throw Error(errc::Overflow);
    }
    if (ec != std::errc() || end != text.data() + text.size()) throw Error(errc::TypeMismatch);
    return value;
}

std::string NumberText::ToFixed() const {
    if (IsZero()) return "0";
    const std::string sign = negative ? "-" : "";
    if (exponent >= 0) return sign + digits + std::string(static_cast<std::size_t>(exponent), '0');
    const long long point = static_cast<long long>(digits.size()) + exponent;  // digits before the point
    if (point > 0) {
        const auto p = static_cast<std::size_t>(point);
        return sign + digits.substr(0, p) + "." + digits.substr(p);
    }
    return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
}

std::optional<NumberText> ScanNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i])) ++i;

    NumberText result;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }

    std::string all;  // every mantissa digit, in order
    int fractionDigits = 0;
    bool seenPoint = false;
    for (; i < n; ++i) {
        if (IsDigit(text[i])) {
            all += text[i];
            if (seenPoint) ++fractionDigits;
        } else if (text[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (all.empty()) return std::nullopt;

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i >= n || !IsDigit(text[i])) return std::nullopt;
        for (; i < n && IsDigit(text[i]); ++i) {
            if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent) exponent = -exponent;
    }

    while (i < n && IsBlank(text[i])) ++i;
    if (i != n) return std::nullopt;

    std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) {
        result.negative = false;
        return result;  // zero
    }
    std::size_t last = all.find_last_not_of('0');
    result.digits = all.substr(first, last - first + 1);
    exponent += static_cast<long long>(all.size() - 1 - last) - fractionDigits;
    if (exponent > kExponentLimit) exponent = kExponentLimit;
    if (exponent < -kExponentLimit) exponent = -kExponentLimit;
    result.exponent = static_cast<int>(exponent);
    return result;
}

}  // namespace db
