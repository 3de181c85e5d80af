#include "db/sqlite/ColumnTypes.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

#include "db/Constants.h"
#include "db/Error.h"

namespace db::sqlite {
namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool Has(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// "NUMERIC(9, 2)" -> name "NUMERIC", args {9, 2}; "VARCHAR(MAX)" -> args {-1}.
void SplitType(const std::string& decl, std::string& name, int args[2], int& argCount) {
    const auto open = decl.find('(');
    name = decl.substr(0, open);
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.pop_back();
    argCount = 0;
    if (open == std::string::npos) return;
    std::size_t i = open + 1;
    while (i < decl.size() && argCount < 2) {
        while (i < decl.size() && std::isspace(static_cast<unsigned char>(decl[i]))) ++i;
        if (decl.compare(i, 3, "MAX") == 0) {
            args[argCount++] = -1;
            i += 3;
        } else if (i < decl.size() && std::isdigit(static_cast<unsigned char>(decl[i]))) {
            args[argCount++] = std::atoi(decl.c_str() + i);
            while (i < decl.size() && std::isdigit(static_cast<unsigned char>(decl[i]))) ++i;
        } else {
            break;
        }
        while (i < decl.size() && std::isspace(static_cast<unsigned char>(decl[i]))) ++i;
        if (i < decl.size() && decl[i] == ',') ++i;
    }
}

DeclaredType Make(ValueKind kind, long adoType, long size, int precision, int scale = -1) {
    return DeclaredType{kind, adoType, size, precision, scale};
}

DeclaredType TextType(long adoType, long longType, int size) {
    if (size > 0) return Make(ValueKind::Text, adoType, size, 0);
    return Make(ValueKind::Text, longType, longType == adLongVarWChar ? 1073741823L : 2147483647L, 0);
}

// A number that its column's decimal cannot hold comes back as the number stored, as a date column's text
// that is no date does: reading a row never fails on its values (an insert reads its new row back after
// the row is written).
Variant FromInteger(sqlite3_int64 v, const DeclaredType& type) {
    switch (type.kind) {
    case ValueKind::Boolean: return Variant(v != 0);
    case ValueKind::SmallInteger:
        if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
            return Variant(static_cast<std::int16_t>(v));
        return Variant(static_cast<long long>(v));
    case ValueKind::Decimal:
        try {
            Decimal d = Decimal::FromInt(v);
            return Variant(type.scale > 0 ? d.Rescale(type.scale) : d);
        } catch (const Error&) {
            return Variant(static_cast<long long>(v));
        }
    case ValueKind::Double: return Variant(static_cast<double>(v));
    default: return Variant(static_cast<long long>(v));
    }
}

Variant FromReal(double v, const DeclaredType& type) {
    if (type.kind == ValueKind::Decimal) {
        try {
            Decimal d = Decimal::FromDouble(v);
            return Variant(type.scale >= 0 ? d.Rescale(type.scale) : d);
        } catch (const Error&) {
            return Variant(v);
        }
    }
    if (type.kind == ValueKind::Boolean) return Variant(v != 0);
    return Variant(v);
}

Variant FromText(std::string text, const DeclaredType& type) {
    if (type.kind == ValueKind::Date && !text.empty()) {
        try {
            return Variant(Date::Parse(text));
        } catch (const Error&) {
            // A date column holding text that is no date: shown as it is stored, not hidden.
        }
    }
    return Variant(std::move(text));
}

}  // namespace

DeclaredType ParseDeclaredType(const char* declared) {
    if (!declared || !*declared) return {};
    const std::string decl = Upper(declared);
    std::string name;
    int args[2] = {0, 0};
    int argCount = 0;
    SplitType(decl, name, args, argCount);
    const int size = argCount > 0 ? args[0] : 0;

    if (name == "BIT" || name == "BOOLEAN") return Make(ValueKind::Boolean, adBoolean, 2, 1);
    if (name == "TINYINT") return Make(ValueKind::SmallInteger, adTinyInt, 1, 3);
    if (name == "SMALLINT") return Make(ValueKind::SmallInteger, adSmallInt, 2, 5);
    if (name == "BIGINT") return Make(ValueKind::Integer, adBigInt, 8, 19);
    if (Has(name, "INT")) return Make(ValueKind::Integer, adInteger, 4, 10);
    if (name == "NUMERIC" || name == "DECIMAL" || name == "DEC") {
        // As on SQL Server: no precision means (18, 0), no scale means 0.
        const int precision = argCount > 0 ? args[0] : 18;
        const int scale = argCount > 1 ? args[1] : 0;
        return Make(ValueKind::Decimal, name == "NUMERIC" ? adNumeric : adDecimal, 19, precision, scale);
    }
    // "NUM" is what CREATE TABLE ... AS SELECT declares for a numeric expression: precision unknown.
    if (name == "NUM") return Make(ValueKind::Decimal, adNumeric, 19, 0);
    if (name == "MONEY" || name == "SMALLMONEY") return Make(ValueKind::Decimal, adCurrency, 8, 19, 4);
    if (name == "REAL") return Make(ValueKind::Double, adSingle, 4, 7);
    if (Has(name, "FLOA") || Has(name, "DOUB")) return Make(ValueKind::Double, adDouble, 8, 15);
    if (name == "DATE") return Make(ValueKind::Date, adDBDate, 6, 10);
    if (name == "TIME") return Make(ValueKind::Text, adDBTime, 6, 0);
    if (Has(name, "DATETIME") || name == "TIMESTAMP") return Make(ValueKind::Date, adDBTimeStamp, 16, 23, 3);
    if (name == "UNIQUEIDENTIFIER" || name == "GUID") return Make(ValueKind::Text, adGUID, 16, 0);
    if (name == "NCHAR") return TextType(adWChar, adLongVarWChar, size);
    if (name == "CHAR" || name == "CHARACTER") return TextType(adChar, adLongVarChar, size);
    if (name == "NVARCHAR" || name == "NATIONAL VARCHAR") return TextType(adVarWChar, adLongVarWChar, size);
    if (Has(name, "VARCHAR")) return TextType(adVarChar, adLongVarChar, size);
    if (name == "NTEXT") return TextType(adLongVarWChar, adLongVarWChar, 0);
    if (Has(name, "CHAR") || Has(name, "CLOB") || Has(name, "TEXT")) return TextType(adLongVarChar, adLongVarChar, 0);
    if (Has(name, "BLOB") || Has(name, "BINARY")) return Make(ValueKind::Binary, adLongVarBinary, 2147483647L, 0);
    // Any other name has NUMERIC affinity in SQLite.
    return Make(ValueKind::Decimal, adNumeric, 19, 0);
}

ColumnInfo DescribeColumn(sqlite3_stmt* stmt, int column, const DeclaredType& type) {
    ColumnInfo info;
    if (const char* name = sqlite3_column_name(stmt, column)) info.name = name;
    info.type = type.adoType;
    info.definedSize = type.definedSize;
    info.precision = type.precision;
    info.numericScale = type.scale > 0 ? type.scale : 0;
    if (const char* table = sqlite3_column_table_name(stmt, column)) info.baseTable = table;
    if (const char* origin = sqlite3_column_origin_name(stmt, column)) info.baseColumn = origin;
    if (const char* schema = sqlite3_column_database_name(stmt, column)) info.baseSchema = schema;
    return info;
}

Variant ReadValue(sqlite3_stmt* stmt, int column, const DeclaredType& type) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL: return Variant::Null();
    case SQLITE_INTEGER: return FromInteger(sqlite3_column_int64(stmt, column), type);
    case SQLITE_FLOAT: return FromReal(sqlite3_column_double(stmt, column), type);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return FromText(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))), type);
    }
    default: {
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
        return Variant(blob ? std::string(blob, size) : std::string());
    }
    }
}

void BindValue(sqlite3_stmt* stmt, int index, const Variant& value) {
    switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Missing: sqlite3_bind_null(stmt, index); return;
    case VarType::Boolean: sqlite3_bind_int(stmt, index, value.CBool() ? 1 : 0); return;
    case VarType::Integer:
    case VarType::Long: sqlite3_bind_int64(stmt, index, value.CLng()); return;
    case VarType::Double: sqlite3_bind_double(stmt, index, value.CDbl()); return;
    case VarType::Decimal: {
        const Decimal d = value.CDec();
        if (d.Scale() <= 0) {
            sqlite3_bind_int64(stmt, index, d.Rescale(0).Unscaled());
        } else {
            sqlite3_bind_double(stmt, index, d.ToDouble());
        }
        return;
    }
    case VarType::Date: {
        const std::string iso = value.CDate().ToStoredText();
        sqlite3_bind_text(stmt, index, iso.c_str(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
        return;
    }
    case VarType::String: {
        // SQLite copies the text: the variant's own is bound, without a copy of ours first.
        const std::string& text = value.HeldText();
        sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return;
    }
    case VarType::Object: throw Error(errc::TypeMismatch, "Type mismatch: an object cannot be bound to a statement", "agganci.db.sqlite");
    }
}

long TypeFromStorage(int sqliteType) {
    switch (sqliteType) {
    case SQLITE_INTEGER: return adInteger;
    case SQLITE_FLOAT: return adDouble;
    case SQLITE_BLOB: return adLongVarBinary;
    default: return adVarWChar;
    }
}

}  // namespace db::sqlite
