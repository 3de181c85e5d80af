#include "db/odbc/OdbcColumns.h"

#include <sqlext.h>

#include <algorithm>
#include <cctype>

#include "db/Constants.h"
#include "db/Error.h"
#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcText.h"
#include "db/odbc/OdbcTimestamp.h"

namespace db::odbc {
namespace {

// ADO types the shared constants do not list.
constexpr long adUnsignedTinyInt = 17;
constexpr long adBinary = 128;
constexpr long adVarBinary = 204;

constexpr long kLongTextSize = 2147483647L;
constexpr long kLongWideTextSize = 1073741823L;

ResultColumn Make(long adoType, long definedSize, int precision, ReadAs readAs, int scale = 0) {
    ResultColumn c;
    c.info.type = adoType;
    c.info.definedSize = definedSize;
    c.info.precision = precision;
    c.info.numericScale = scale;
    c.readAs = readAs;
    return c;
}

// Text: a size of 0 (VARCHAR(MAX) on SQL Server) or beyond the longest sized type is a long text.
ResultColumn TextColumn(long adoType, long longType, SQLULEN size, SQLULEN limit) {
    if (size == 0 || size > limit) {
        return Make(longType, longType == adLongVarWChar ? kLongWideTextSize : kLongTextSize, 0, ReadAs::Text);
    }
    return Make(adoType, static_cast<long>(size), 0, ReadAs::Text);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A text attribute of a column; "" when the driver does not keep it (then it is simply not known).
std::string TextAttribute(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLWCHAR buffer[512] = {};
    SQLSMALLINT bytes = 0;
    if (!Succeeded(SQLColAttributeW(stmt, column, field, buffer, sizeof buffer, &bytes, nullptr))) return {};
    const std::size_t units = std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                                                    std::size(buffer) - 1);
    return ToUtf8(buffer, units);
}

template <class T>
bool ReadFixed(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType, T& value, const std::string& sql) {
    SQLLEN indicator = 0;
    Check(SQLGetData(stmt, column, cType, &value, sizeof value, &indicator), SQL_HANDLE_STMT, stmt, sql);
    return indicator != SQL_NULL_DATA;
}

// Reads a value of any length in pieces. False when it is NULL.
template <class Unit, SQLSMALLINT CType>
bool ReadPieces(SQLHSTMT stmt, SQLUSMALLINT column, std::basic_string<Unit>& out, const std::string& sql) {
    constexpr std::size_t kUnits = 2048;
    // Character data ends with a terminator the driver writes; bytes do not.
    constexpr std::size_t kRoom = CType == SQL_C_BINARY ? kUnits : kUnits - 1;
    Unit buffer[kUnits];
    out.clear();
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, CType, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) break;
        Check(rc, SQL_HANDLE_STMT, stmt, sql);
        if (indicator == SQL_NULL_DATA) return false;
        const bool truncated = indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > kRoom * sizeof(Unit);
        out.append(buffer, truncated ? kRoom : static_cast<std::size_t>(indicator) / sizeof(Unit));
        if (!truncated) break;
    }
    return true;
}

}  // namespace

ResultColumn ColumnFromSqlType(SQLSMALLINT sqlType, const std::string& typeName, SQLULEN size, SQLSMALLINT digits) {
    switch (sqlType) {
    case SQL_CHAR: return TextColumn(adChar, adLongVarChar, size, 8000);
    case SQL_VARCHAR: return TextColumn(adVarChar, adLongVarChar, size, 8000);
    case SQL_LONGVARCHAR: return TextColumn(adLongVarChar, adLongVarChar, 0, 0);
    case SQL_WCHAR: return TextColumn(adWChar, adLongVarWChar, size, 4000);
    case SQL_WVARCHAR: return TextColumn(adVarWChar, adLongVarWChar, size, 4000);
    case SQL_WLONGVARCHAR: return TextColumn(adLongVarWChar, adLongVarWChar, 0, 0);
    case SQL_BIT: return Make(adBoolean, 2, 1, ReadAs::Boolean);
    case SQL_TINYINT: return Make(adUnsignedTinyInt, 1, 3, ReadAs::SmallInteger);
    case SQL_SMALLINT: return Make(adSmallInt, 2, 5, ReadAs::SmallInteger);
    case SQL_INTEGER: return Make(adInteger, 4, 10, ReadAs::Integer);
    case SQL_BIGINT: return Make(adBigInt, 8, 19, ReadAs::Integer);
    case SQL_REAL: return Make(adSingle, 4, 7, ReadAs::Double);
    case SQL_FLOAT:
    case SQL_DOUBLE: return Make(adDouble, 8, 15, ReadAs::Double);
    case SQL_NUMERIC:
    case SQL_DECIMAL: {
        const std::string name = Lower(typeName);
        if (name == "money" || name == "smallmoney") return Make(adCurrency, 8, 19, ReadAs::Decimal, 4);
        // ADO shows SQL Server's DECIMAL and NUMERIC columns alike, as adNumeric.
        return Make(adNumeric, 19, static_cast<int>(size), ReadAs::Decimal, std::max<int>(digits, 0));
    }
    case SQL_TYPE_DATE:
    case SQL_DATE: return Make(adDBDate, 6, 10, ReadAs::Date);
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return Make(adDBTimeStamp, 16, 23, ReadAs::Date, 3);
    case SQL_TYPE_TIME:
    case SQL_TIME: return Make(adDBTime, 6, 0, ReadAs::Text);
    case SQL_GUID: return Make(adGUID, 16, 0, ReadAs::Text);
    case SQL_BINARY: return Make(adBinary, static_cast<long>(size), 0, ReadAs::Binary);
    case SQL_VARBINARY:
        if (size == 0 || size > 8000) return Make(adLongVarBinary, kLongTextSize, 0, ReadAs::Binary);
        return Make(adVarBinary, static_cast<long>(size), 0, ReadAs::Binary);
    case SQL_LONGVARBINARY: return Make(adLongVarBinary, kLongTextSize, 0, ReadAs::Binary);
    default:
        // Types of a particular server (SQL Server's time, datetimeoffset, xml, sql_variant): shown as
        // the text the driver makes of them.
        return TextColumn(adVarWChar, adLongVarWChar, size, 4000);
    }
}

std::vector<ResultColumn> DescribeColumns(SQLHSTMT stmt, const std::string& sql) {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(stmt, &count), SQL_HANDLE_STMT, stmt, sql);
    std::vector<ResultColumn> columns;
    columns.reserve(static_cast<std::size_t>(count));
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        SQLWCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = SQL_NULLABLE_UNKNOWN;
        SQLULEN size = 0;
        Check(SQLDescribeColW(stmt, i, name, static_cast<SQLSMALLINT>(std::size(name)), &nameLength, &sqlType, &size,
                              &digits, &nullable),
              SQL_HANDLE_STMT, stmt, sql);
        ResultColumn c = ColumnFromSqlType(sqlType, TextAttribute(stmt, i, SQL_DESC_TYPE_NAME), size, digits);
        c.info.name = ToUtf8(name, std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(nameLength, 0)),
                                                          std::size(name) - 1));
        c.info.nullable = nullable != SQL_NO_NULLS;
        c.info.baseTable = TextAttribute(stmt, i, SQL_DESC_BASE_TABLE_NAME);
        if (c.info.baseTable.empty()) c.info.baseTable = TextAttribute(stmt, i, SQL_DESC_TABLE_NAME);
        // A column without a table is an expression: it has no base column, whatever label it carries.
        if (!c.info.baseTable.empty()) {
            c.info.baseColumn = TextAttribute(stmt, i, SQL_DESC_BASE_COLUMN_NAME);
            c.info.baseSchema = TextAttribute(stmt, i, SQL_DESC_SCHEMA_NAME);
        }
        columns.push_back(std::move(c));
    }
    return columns;
}

Variant ReadValue(SQLHSTMT stmt, SQLUSMALLINT column, const ResultColumn& c, const std::string& sql) {
    switch (c.readAs) {
    case ReadAs::SmallInteger: {
        SQLSMALLINT v = 0;
        return ReadFixed(stmt, column, SQL_C_SSHORT, v, sql) ? Variant(static_cast<std::int16_t>(v)) : Variant::Null();
    }
    case ReadAs::Integer: {
        SQLBIGINT v = 0;
        return ReadFixed(stmt, column, SQL_C_SBIGINT, v, sql) ? Variant(static_cast<long long>(v)) : Variant::Null();
    }
    case ReadAs::Boolean: {
        SQLCHAR v = 0;
        return ReadFixed(stmt, column, SQL_C_BIT, v, sql) ? Variant(v != 0) : Variant::Null();
    }
    case ReadAs::Double: {
        SQLDOUBLE v = 0;
        return ReadFixed(stmt, column, SQL_C_DOUBLE, v, sql) ? Variant(static_cast<double>(v)) : Variant::Null();
    }
    case ReadAs::Date: {
        SQL_TIMESTAMP_STRUCT v{};
        return ReadFixed(stmt, column, SQL_C_TYPE_TIMESTAMP, v, sql) ? Variant(FromTimestamp(v)) : Variant::Null();
    }
    case ReadAs::Decimal: {
        std::basic_string<char> text;
        if (!ReadPieces<char, SQL_C_CHAR>(stmt, column, text, sql)) return Variant::Null();
        try {
            const Decimal d = Decimal::Parse(text);
            return Variant(c.info.numericScale > 0 ? d.Rescale(c.info.numericScale) : d);
        } catch (const Error& e) {
            throw Error(e.Number(), e.Description() + ": value '" + text + "' of column " + c.info.name + " - statement: " + sql,
                        kSource);
        }
    }
    case ReadAs::Binary: {
        std::basic_string<char> bytes;
        return ReadPieces<char, SQL_C_BINARY>(stmt, column, bytes, sql) ? Variant(std::move(bytes)) : Variant::Null();
    }
    case ReadAs::Text: break;
    }
    std::u16string text;
    if (!ReadPieces<char16_t, SQL_C_WCHAR>(stmt, column, text, sql)) return Variant::Null();
    return Variant(ToUtf8(text));
}

}  // namespace db::odbc
