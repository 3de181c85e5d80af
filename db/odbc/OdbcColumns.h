#pragma once
// Result columns of an ODBC statement: their metadata as ADO shows it (type from DataTypeEnum, defined
// size, precision and scale, base table and column for writing back) and how their values are read.
#include <sql.h>

#include <string>
#include <vector>

#include "db/Field.h"
#include "db/Variant.h"

namespace db::odbc {

// How a column's values are fetched: as text (UTF-16, any length), small integer, integer (Long, or
// Decimal beyond 32 bits), Boolean, Double, exact decimal (read as text, so no digit is lost), date
// or raw bytes.
enum class ReadAs { Text, SmallInteger, Integer, Boolean, Double, Decimal, Date, Binary };

struct ResultColumn {
    ColumnInfo info;
    ReadAs readAs = ReadAs::Text;
};

// ODBC's SQL type (and the server's type name, which tells money from other decimals) as ADO's.
ResultColumn ColumnFromSqlType(SQLSMALLINT sqlType, const std::string& typeName, SQLULEN size, SQLSMALLINT digits);

// The columns of the current result of stmt; empty when the result has none (a row count).
std::vector<ResultColumn> DescribeColumns(SQLHSTMT stmt, const std::string& sql);

// The value of column (1-based) in the fetched row. Columns are read in order, as ODBC requires.
Variant ReadValue(SQLHSTMT stmt, SQLUSMALLINT column, const ResultColumn& c, const std::string& sql);

}  // namespace db::odbc
