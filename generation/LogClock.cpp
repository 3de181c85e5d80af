#include "generation/LogClock.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include <fmt/format.h>

namespace generation {

Clock SystemClock() {
    return [] {
        const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
        std::tm local{};
        localtime_r(&now, &local);
        return db::Date::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                   local.tm_min, local.tm_sec);
    };
}

DataOra Scomponi(db::Date d) {
    // ToIso gives "YYYY-MM-DD HH:MM:SS" already rounded to the second; its fields are fixed-width.
    const std::string iso = d.ToIso();
    const auto field = [&](std::size_t pos, std::size_t len) { return std::stoi(iso.substr(pos, len)); };
    return {field(0, 4), field(5, 2), field(8, 2), field(11, 2), field(14, 2), field(17, 2)};
}

std::string TimestampLog(db::Date d) {
    const DataOra t = Scomponi(d);
    return fmt::format("{}.{}.{}.{}.{}.{}", t.giorno, t.mese, t.anno, t.ora, t.minuto, t.secondo);
}

std::string DataOraGenerale(db::Date d) {
    const DataOra t = Scomponi(d);
    const std::string data = fmt::format("{:02}/{:02}/{:04}", t.giorno, t.mese, t.anno);
    const std::string ora = fmt::format("{:02}:{:02}:{:02}", t.ora, t.minuto, t.secondo);
    const bool senzaOra = t.ora == 0 && t.minuto == 0 && t.secondo == 0;
    const bool giornoZero = t.anno == 1899 && t.mese == 12 && t.giorno == 30;
    if (giornoZero && !senzaOra) return ora;
    if (senzaOra) return data;
    return data + " " + ora;
}

db::Date Giorno(db::Date d) {
    const DataOra t = Scomponi(d);
    return db::Date::FromParts(t.anno, t.mese, t.giorno);
}

}  // namespace generation
