#include "db/odbc/OdbcTimestamp.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "db/Error.h"

namespace db::odbc {
namespace {
constexpr long long kMillisecondsPerDay = 86400000;
}

SQL_TIMESTAMP_STRUCT ToTimestamp(Date date) {
    if (!std::isfinite(date.serial)) throw Error(errc::Overflow);
    // VB keeps the time of a day before 1899-12-30 as a fraction subtracted: it is |serial - day|.
    long long day = static_cast<long long>(std::trunc(date.serial));
    long long ms = std::llround(std::fabs(date.serial - static_cast<double>(day)) * kMillisecondsPerDay);
    if (ms >= kMillisecondsPerDay) {
        ms -= kMillisecondsPerDay;
        ++day;
    }
    int y = 0, m = 0, d = 0;
    const std::string iso = Date{static_cast<double>(day)}.ToIso();
    if (std::sscanf(iso.c_str(), "%d-%d-%d", &y, &m, &d) != 3) throw Error(errc::Overflow);
    SQL_TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<SQLSMALLINT>(y);
    ts.month = static_cast<SQLUSMALLINT>(m);
    ts.day = static_cast<SQLUSMALLINT>(d);
    ts.hour = static_cast<SQLUSMALLINT>(ms / 3600000);
    ts.minute = static_cast<SQLUSMALLINT>(ms / 60000 % 60);
    ts.second = static_cast<SQLUSMALLINT>(ms / 1000 % 60);
    ts.fraction = static_cast<SQLUINTEGER>(ms % 1000 * 1000000);
    return ts;
}

Date FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    Date date = Date::FromParts(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second);
    const double fraction = static_cast<double>(ts.fraction) / 1e9 / 86400.0;
    date.serial += date.serial < 0 ? -fraction : fraction;
    return date;
}

}  // namespace db::odbc
