#include "db/odbc/OdbcParameterBinder.h"

#include <sqlext.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "db/Command.h"
#include "db/Constants.h"
#include "db/Error.h"
#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcText.h"
#include "db/odbc/OdbcTimestamp.h"

namespace db::odbc {
namespace {

using Slot = ParameterBinder::Slot;

constexpr long adUnsignedTinyInt = 17;  // what ADO reports for SQL Server's TINYINT
constexpr SQLULEN kVarCharLimit = 8000;   // longest VARCHAR(n) on SQL Server; beyond is VARCHAR(MAX)
constexpr SQLULEN kVarWCharLimit = 4000;  // longest NVARCHAR(n)
constexpr std::size_t kOutputTextLimit = 1 << 20;  // characters an output text of unbounded size may bring back
constexpr std::size_t kNumericTextSize = 64;       // "-" + 38 digits + "." and room to spare
constexpr long kDataOverflow = -2147217833;         // 0x80040E57: as the server reports text too long for its column

template <class T>
void SetFixed(Slot& s, T value) {
    s.buffer.resize(sizeof(T));
    std::memcpy(s.buffer.data(), &value, sizeof(T));
    s.indicator = sizeof(T);
}

void SetText8(Slot& s, const std::string& text, std::size_t capacity = 0) {
    s.buffer.assign(std::max(text.size(), capacity) + 1, '\0');
    std::memcpy(s.buffer.data(), text.data(), text.size());
    s.indicator = static_cast<SQLLEN>(text.size());
}

void SetText16(Slot& s, const std::u16string& text, std::size_t capacityUnits = 0) {
    s.buffer.assign((std::max(text.size(), capacityUnits) + 1) * sizeof(char16_t), '\0');
    std::memcpy(s.buffer.data(), text.data(), text.size() * sizeof(char16_t));
    s.indicator = static_cast<SQLLEN>(text.size() * sizeof(char16_t));
}

void SetNull(Slot& s, std::size_t capacityBytes) {
    s.buffer.assign(std::max<std::size_t>(capacityBytes, 1), '\0');
    s.indicator = SQL_NULL_DATA;
}

// Bytes the driver reports in a buffer (never negative).
std::size_t Length(SQLLEN indicator) { return static_cast<std::size_t>(std::max<SQLLEN>(indicator, 0)); }

bool IsNullish(const Variant& v) { return v.IsNull() || v.IsEmpty() || v.IsMissing(); }

std::size_t FixedSize(SQLSMALLINT cType) {
    switch (cType) {
    case SQL_C_SSHORT: return sizeof(SQLSMALLINT);
    case SQL_C_SLONG: return sizeof(SQLINTEGER);
    case SQL_C_SBIGINT: return sizeof(SQLBIGINT);
    case SQL_C_BIT: return sizeof(SQLCHAR);
    case SQL_C_DOUBLE: return sizeof(SQLDOUBLE);
    case SQL_C_TYPE_TIMESTAMP: return sizeof(SQL_TIMESTAMP_STRUCT);
    default: return 0;
    }
}

// Writes value into a slot whose C type is already chosen.
void Fill(Slot& s, const Variant& value, long declaredSize) {
    switch (s.cType) {
    case SQL_C_SSHORT: SetFixed<SQLSMALLINT>(s, value.CInt()); return;
    case SQL_C_SLONG:
        // A Boolean goes in as 1/0, the way the ERP's flag columns store it (VB's True is -1).
        SetFixed<SQLINTEGER>(s, value.Type() == VarType::Boolean ? (value.CBool() ? 1 : 0) : value.CLng());
        return;
    case SQL_C_SBIGINT: SetFixed<SQLBIGINT>(s, value.CDec().RoundHalfEven(0).Unscaled()); return;
    case SQL_C_BIT: SetFixed<SQLCHAR>(s, value.CBool() ? 1 : 0); return;
    case SQL_C_DOUBLE: SetFixed<SQLDOUBLE>(s, value.CDbl()); return;
    case SQL_C_TYPE_TIMESTAMP: SetFixed(s, ToTimestamp(value.CDate())); return;
    case SQL_C_WCHAR: {
        const std::u16string text = ToUtf16(value.CStr());
        const bool output = s.ioType != SQL_PARAM_INPUT;
        const auto room = std::min<std::size_t>(static_cast<std::size_t>(std::max(declaredSize, 1L)), kOutputTextLimit);
        SetText16(s, text, output ? room : 0);
        return;
    }
    default: {  // SQL_C_CHAR: plain text, or the exact text of a number
        std::string text;
        if (s.sqlType == SQL_NUMERIC || s.sqlType == SQL_DECIMAL) {
            const Decimal d = value.CDec();
            text = (s.adoType != 0 ? d.Rescale(s.digits) : d).ToString();
        } else {
            text = value.CStr();
        }
        SetText8(s, text, s.ioType != SQL_PARAM_INPUT ? kNumericTextSize : 0);
        return;
    }
    }
}

void TextSlot(Slot& s, SQLSMALLINT sqlType, SQLSMALLINT longType, SQLULEN limit, SQLULEN size) {
    s.cType = SQL_C_WCHAR;
    s.sqlType = size > limit ? longType : sqlType;
    s.columnSize = std::max<SQLULEN>(size, 1);
}

// The server cuts a procedure's text argument to its parameter's declared length without a word: a code cut
// that way names another article, so a value that does not fit is refused here.
void RequireFits(const Parameter& p, std::size_t length) {
    if (length <= static_cast<std::size_t>(p.Size())) return;
    throw Error(kDataOverflow,
                "The value of parameter " + p.Name() + " is " + std::to_string(length) +
                    " characters long, more than its declared size of " + std::to_string(p.Size()) +
                    ": it would be cut. Value: " + p.Value().CStr(),
                kSource);
}

SQLSMALLINT IoType(long direction) {
    switch (direction) {
    case adParamOutput:
    case adParamReturnValue: return SQL_PARAM_OUTPUT;
    case adParamInputOutput: return SQL_PARAM_INPUT_OUTPUT;
    default: return SQL_PARAM_INPUT;
    }
}

}  // namespace

Slot ParameterBinder::SlotForValue(const Variant& value) {
    Slot s;
    switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Missing: SetNull(s, 1); return s;
    case VarType::Boolean:
    case VarType::Long: s.cType = SQL_C_SLONG, s.sqlType = SQL_INTEGER, s.columnSize = 10; break;
    case VarType::Integer: s.cType = SQL_C_SSHORT, s.sqlType = SQL_SMALLINT, s.columnSize = 5; break;
    case VarType::Double: s.cType = SQL_C_DOUBLE, s.sqlType = SQL_DOUBLE, s.columnSize = 15; break;
    case VarType::Decimal: {
        const int scale = std::max(0, value.CDec().Scale());
        s.cType = SQL_C_CHAR, s.sqlType = SQL_NUMERIC;
        s.columnSize = static_cast<SQLULEN>(std::max(18, scale));
        s.digits = static_cast<SQLSMALLINT>(scale);
        break;
    }
    case VarType::Date: s.cType = SQL_C_TYPE_TIMESTAMP, s.sqlType = SQL_TYPE_TIMESTAMP, s.columnSize = 23, s.digits = 3; break;
    case VarType::String: {
        const std::string text = value.CStr();
        if (IsAscii(text)) {
            s.cType = SQL_C_CHAR;
            s.sqlType = text.size() > kVarCharLimit ? SQL_LONGVARCHAR : SQL_VARCHAR;
            s.columnSize = std::max<SQLULEN>(text.size(), kVarCharLimit);
            SetText8(s, text);
        } else {
            const std::u16string wide = ToUtf16(text);
            s.cType = SQL_C_WCHAR;
            s.sqlType = wide.size() > kVarWCharLimit ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
            s.columnSize = std::max<SQLULEN>(wide.size(), kVarWCharLimit);
            SetText16(s, wide);
        }
        return s;
    }
    case VarType::Object:
        throw Error(errc::TypeMismatch, "Type mismatch: an object cannot be bound to a statement", kSource);
    }
    Fill(s, value, 0);
    return s;
}

Slot ParameterBinder::SlotForParameter(const Parameter& p) {
    Slot s;
    s.ioType = IoType(p.Direction());
    s.adoType = p.Type();
    const SQLULEN size = p.Size() > 0 ? static_cast<SQLULEN>(p.Size()) : 0;
    const Variant& value = p.Value();
    const bool noInput = p.Direction() == adParamOutput || p.Direction() == adParamReturnValue || IsNullish(value);
    // A text without a declared size takes the length of its value.
    const SQLULEN textSize = size > 0 ? size : (noInput ? kVarWCharLimit : ToUtf16(value.CStr()).size());

    const bool boundedText =
        p.Type() == adChar || p.Type() == adVarChar || p.Type() == adWChar || p.Type() == adVarWChar;
    if (boundedText && size > 0 && !noInput) RequireFits(p, ToUtf16(value.CStr()).size());

    switch (p.Type()) {
    case adSmallInt: s.cType = SQL_C_SSHORT, s.sqlType = SQL_SMALLINT, s.columnSize = 5; break;
    case adTinyInt:
    case adUnsignedTinyInt: s.cType = SQL_C_SSHORT, s.sqlType = SQL_TINYINT, s.columnSize = 3; break;
    case adInteger: s.cType = SQL_C_SLONG, s.sqlType = SQL_INTEGER, s.columnSize = 10; break;
    case adBigInt: s.cType = SQL_C_SBIGINT, s.sqlType = SQL_BIGINT, s.columnSize = 19; break;
    case adBoolean: s.cType = SQL_C_BIT, s.sqlType = SQL_BIT, s.columnSize = 1; break;
    case adSingle: s.cType = SQL_C_DOUBLE, s.sqlType = SQL_REAL, s.columnSize = 7; break;
    case adDouble: s.cType = SQL_C_DOUBLE, s.sqlType = SQL_DOUBLE, s.columnSize = 15; break;
    case adCurrency: s.cType = SQL_C_CHAR, s.sqlType = SQL_DECIMAL, s.columnSize = 19, s.digits = 4; break;
    case adNumeric:
    case adDecimal:
        s.cType = SQL_C_CHAR;
        s.sqlType = p.Type() == adNumeric ? SQL_NUMERIC : SQL_DECIMAL;
        s.columnSize = p.Precision() > 0 ? static_cast<SQLULEN>(p.Precision()) : 18;
        s.digits = static_cast<SQLSMALLINT>(std::max(0, p.NumericScale()));
        break;
    case adDate:
    case adDBDate:
    case adDBTimeStamp: s.cType = SQL_C_TYPE_TIMESTAMP, s.sqlType = SQL_TYPE_TIMESTAMP, s.columnSize = 23, s.digits = 3; break;
    case adChar: TextSlot(s, SQL_CHAR, SQL_LONGVARCHAR, kVarCharLimit, textSize); break;
    case adVarChar: TextSlot(s, SQL_VARCHAR, SQL_LONGVARCHAR, kVarCharLimit, textSize); break;
    case adLongVarChar: TextSlot(s, SQL_LONGVARCHAR, SQL_LONGVARCHAR, 0, textSize); break;
    case adWChar: TextSlot(s, SQL_WCHAR, SQL_WLONGVARCHAR, kVarWCharLimit, textSize); break;
    case adVarWChar: TextSlot(s, SQL_WVARCHAR, SQL_WLONGVARCHAR, kVarWCharLimit, textSize); break;
    case adLongVarWChar: TextSlot(s, SQL_WLONGVARCHAR, SQL_WLONGVARCHAR, 0, textSize); break;
    case adGUID: s.cType = SQL_C_CHAR, s.sqlType = SQL_GUID, s.columnSize = 36; break;
    default:
        // No declared type (adEmpty, adVariant): the value decides, as in a text statement; an output
        // without a value is brought back as text.
        if (s.ioType == SQL_PARAM_INPUT) return SlotForValue(value);
        TextSlot(s, SQL_WVARCHAR, SQL_WLONGVARCHAR, kVarWCharLimit, kVarWCharLimit);
        break;
    }

    if (noInput) {
        std::size_t capacity = FixedSize(s.cType);
        if (s.cType == SQL_C_CHAR) capacity = kNumericTextSize;
        if (s.cType == SQL_C_WCHAR) capacity = (std::min<std::size_t>(s.columnSize, kOutputTextLimit) + 1) * sizeof(char16_t);
        SetNull(s, capacity);
        return s;
    }
    Fill(s, value, static_cast<long>(s.columnSize));
    return s;
}

void ParameterBinder::Bind(const Variant& value) { BindSlot(SlotForValue(value)); }

void ParameterBinder::Bind(const Parameter& parameter) { BindSlot(SlotForParameter(parameter)); }

void ParameterBinder::BindSlot(Slot slot) {
    slots_.push_back(std::move(slot));
    Slot& s = slots_.back();
    const auto number = static_cast<SQLUSMALLINT>(slots_.size());
    const SQLRETURN rc = SQLBindParameter(stmt_, number, s.ioType, s.cType, s.sqlType, s.columnSize, s.digits,
                                          s.buffer.data(), static_cast<SQLLEN>(s.buffer.size()), &s.indicator);
    Check(rc, SQL_HANDLE_STMT, stmt_, sql_);
}

Variant ParameterBinder::Output(std::size_t index) const {
    const Slot& s = slots_.at(index);
    if (s.indicator == SQL_NULL_DATA) return Variant::Null();
    const char* data = s.buffer.data();
    switch (s.cType) {
    case SQL_C_SSHORT: {
        SQLSMALLINT v;
        std::memcpy(&v, data, sizeof v);
        return Variant(static_cast<std::int16_t>(v));
    }
    case SQL_C_SLONG: {
        SQLINTEGER v;
        std::memcpy(&v, data, sizeof v);
        return Variant(static_cast<int>(v));
    }
    case SQL_C_SBIGINT: {
        SQLBIGINT v;
        std::memcpy(&v, data, sizeof v);
        return Variant(static_cast<long long>(v));
    }
    case SQL_C_BIT: return Variant(data[0] != 0);
    case SQL_C_DOUBLE: {
        SQLDOUBLE v;
        std::memcpy(&v, data, sizeof v);
        return Variant(static_cast<double>(v));
    }
    case SQL_C_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts;
        std::memcpy(&ts, data, sizeof ts);
        return Variant(FromTimestamp(ts));
    }
    case SQL_C_WCHAR: {
        const std::size_t capacity = s.buffer.size() / sizeof(char16_t) - 1;
        const std::size_t units = std::min(Length(s.indicator) / sizeof(char16_t), capacity);
        std::u16string text(units, u'\0');
        std::memcpy(text.data(), data, units * sizeof(char16_t));
        return Variant(ToUtf8(text));
    }
    default: {
        const std::size_t length = std::min(Length(s.indicator), s.buffer.size() - 1);
        std::string text(data, length);
        if (s.sqlType == SQL_NUMERIC || s.sqlType == SQL_DECIMAL) return Variant(Decimal::Parse(text).Rescale(s.digits));
        return Variant(std::move(text));
    }
    }
}

}  // namespace db::odbc
