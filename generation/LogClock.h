#pragma once
// The moments a processing log records, and their two texts: the timestamp in the file name and the date
// and time of the start and end lines. The clock is a function so that a run can be replayed at a fixed time.
#include <functional>
#include <string>

#include "db/Variant.h"

namespace generation {

// VB's Now: the current local date and time.
using Clock = std::function<db::Date()>;
Clock SystemClock();

struct DataOra {
    int anno = 0, mese = 0, giorno = 0, ora = 0, minuto = 0, secondo = 0;
};
DataOra Scomponi(db::Date d);  // to the nearest second

// Day.month.year.hour.minute.second, each without leading zeros: 4.12.2026.15.7.9.
std::string TimestampLog(db::Date d);

// The general date format of the Italian regional settings: "04/12/2026 15:07:09"; only the date at
// midnight and only the time on day zero, as VB shows a general date.
std::string DataOraGenerale(db::Date d);

// The day of a moment (time of day dropped).
db::Date Giorno(db::Date d);

}  // namespace generation
