#pragma once
// How SQLite values become Variants and back. A column's declared type (VARCHAR(20), NUMERIC(9,2),
// DATETIME...) gives its ADO type, size, precision and scale, and decides how stored values are read:
// INTEGER -> Long (Decimal beyond 32 bits), SMALLINT -> Integer, BIT -> Boolean, REAL -> Double,
// NUMERIC/DECIMAL/MONEY -> Decimal, DATETIME -> Date when the text parses, text -> String, NULL -> Null.
#include <string_view>

#include "db/Field.h"
#include "db/Variant.h"

struct sqlite3_stmt;

namespace db::sqlite {

enum class ValueKind { Unknown, Integer, SmallInteger, Boolean, Decimal, Double, Text, Date, Binary };

struct DeclaredType {
    ValueKind kind = ValueKind::Unknown;
    long adoType = 0;
    long definedSize = 0;
    int precision = 0;
    int scale = -1;  // -1: not declared (the stored value keeps its own)
};

// nullptr or "" (an expression) gives kind Unknown.
DeclaredType ParseDeclaredType(const char* declared);

// Column metadata from a prepared statement (name, type, base table and column), without key flags.
ColumnInfo DescribeColumn(sqlite3_stmt* stmt, int column, const DeclaredType& type);

Variant ReadValue(sqlite3_stmt* stmt, int column, const DeclaredType& type);

// Boolean binds as 1/0, the way the ERP's flag columns store it (not VB's -1); Date as ISO text with its
// milliseconds (Date::ToStoredText); Decimal as an integer when it has no decimals, else as a double; Empty,
// Null and Missing as NULL. Objects raise Error 13.
void BindValue(sqlite3_stmt* stmt, int index, const Variant& value);

// For expression columns: the ADO type that fits what the rows hold (the storage class seen).
long TypeFromStorage(int sqliteType);

}  // namespace db::sqlite
