#pragma once
// Dates cross ODBC as SQL_TIMESTAMP_STRUCT, to the millisecond (SQL Server's datetime keeps no more,
// and its drivers refuse a fraction finer than the parameter's declared 3 digits).
#include <sql.h>

#include "db/Variant.h"

namespace db::odbc {

SQL_TIMESTAMP_STRUCT ToTimestamp(Date date);
// Error 5 when the parts are no valid date (year before 100, month 13...).
Date FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts);

}  // namespace db::odbc
