#include <cmath>
#include <optional>

#include <fmt/format.h>

#include "db/Error.h"
#include "db/Variant.h"

namespace db {
namespace {

constexpr long long kEpochToUnix = 25569;  // days from 1899-12-30 to 1970-01-01
constexpr int kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct Civil {
    long long y;
    unsigned m;
    unsigned d;
};

Civil CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// VB keeps days before 1899-12-30 as a negative day number with the time added as a positive
// fraction subtracted (-1.25 is 1899-12-29 06:00), so the time part is always |serial - day|.
double Serial(long long day, double seconds) {
    const double fraction = seconds / kSecondsPerDay;
    return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

std::optional<Date> Make(int y, int m, int d, int hh, int mm, double ss) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
    if (hh < 0 || hh > 23 || mm < 0 || mm > 59 || ss < 0 || ss >= 60) return std::nullopt;
    const long long day = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) + kEpochToUnix;
    return Date{Serial(day, hh * 3600.0 + mm * 60.0 + ss)};
}

// Reads exactly `width` digits at text[pos].
std::optional<int> Digits(const std::string& text, std::size_t& pos, std::size_t width) {
    if (pos + width > text.size()) return std::nullopt;
    int v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    pos += width;
    return v;
}

bool Expect(const std::string& text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::optional<Date> ParseIso(const std::string& raw) {
    const auto first = raw.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const std::string text = raw.substr(first, raw.find_last_not_of(' ') - first + 1);

    std::size_t pos = 0;
    auto y = Digits(text, pos, 4);
    if (!y || !Expect(text, pos, '-')) return std::nullopt;
    auto m = Digits(text, pos, 2);
    if (!m || !Expect(text, pos, '-')) return std::nullopt;
    auto d = Digits(text, pos, 2);
    if (!d) return std::nullopt;
    if (pos == text.size()) return Make(*y, *m, *d, 0, 0, 0);

    if (!Expect(text, pos, ' ') && !Expect(text, pos, 'T')) return std::nullopt;
    auto hh = Digits(text, pos, 2);
    if (!hh || !Expect(text, pos, ':')) return std::nullopt;
    auto mm = Digits(text, pos, 2);
    if (!mm) return std::nullopt;
    double seconds = 0;
    if (Expect(text, pos, ':')) {
        auto ss = Digits(text, pos, 2);
        if (!ss) return std::nullopt;
        seconds = *ss;
        if (Expect(text, pos, '.')) {
            double scale = 0.1;
            const std::size_t start = pos;
            for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, scale /= 10)
                seconds += (text[pos] - '0') * scale;
            if (pos == start) return std::nullopt;
        }
    }
    if (pos != text.size()) return std::nullopt;
    return Make(*y, *m, *d, *hh, *mm, seconds);
}

// VB's range of dates: 100-01-01 to 9999-12-31, as day numbers.
constexpr long long kFirstDay = -657434;
constexpr long long kLastDay = 2958465;
constexpr long long kMillisecondsPerDay = 86400000;

struct DayAndTime {
    Civil date;
    long long ms;  // since midnight
};

// The day of a serial and its time rounded to a multiple of `unit` milliseconds. A time that rounds up to
// midnight is the next day's, except on the last day there is: 9999-12-31 keeps its last unit, never a year
// 10000 that no reader takes back. Error 6 for a serial outside VB's range.
DayAndTime Split(double serial, long long unit) {
    if (!std::isfinite(serial)) throw Error(errc::Overflow);
    // VB keeps the time of a day before 1899-12-30 as a fraction subtracted: it is |serial - day|.
    const double whole = std::trunc(serial);
    if (whole < kFirstDay || whole > kLastDay) throw Error(errc::Overflow);
    long long day = static_cast<long long>(whole);
    long long ms = std::llround(std::fabs(serial - whole) * kMillisecondsPerDay / static_cast<double>(unit)) * unit;
    if (ms >= kMillisecondsPerDay) {
        if (day == kLastDay) {
            ms = kMillisecondsPerDay - unit;
        } else {
            ms -= kMillisecondsPerDay;
            ++day;
        }
    }
    return {CivilFromDays(day - kEpochToUnix), ms};
}

// "HH:MM:SS" of the milliseconds since midnight, the milliseconds left out.
std::string TimeOfDay(long long ms) {
    const long long seconds = ms / 1000;
    return fmt::format("{:02}:{:02}:{:02}", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace

Date Date::FromParts(int y, int m, int d, int hh, int mm, int ss) {
    auto date = Make(y, m, d, hh, mm, ss);
    if (!date) throw Error(errc::InvalidProcedureCall);
    return *date;
}

Date Date::Parse(const std::string& text) {
    auto date = ParseIso(text);
    if (!date) throw Error(errc::TypeMismatch);
    return *date;
}

std::string Date::ToIso() const {
    const auto [c, ms] = Split(serial, 1000);
    return fmt::format("{:04}-{:02}-{:02} {}", c.y, c.m, c.d, TimeOfDay(ms));
}

std::string Date::ToStoredText() const {
    const auto [c, ms] = Split(serial, 1);
    const std::string text = fmt::format("{:04}-{:02}-{:02} {}", c.y, c.m, c.d, TimeOfDay(ms));
    return ms % 1000 == 0 ? text : fmt::format("{}.{:03}", text, ms % 1000);
}

}  // namespace db
