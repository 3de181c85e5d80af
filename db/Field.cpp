#include "db/Field.h"

#include <cmath>
#include <limits>

#include "db/AdoErrors.h"
#include "db/Constants.h"
#include "db/Recordset.h"
#include "db/RecordsetData.h"

namespace db {
namespace {

bool IsText(long type) {
    switch (type) {
    case adChar:
    case adWChar:
    case adVarChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar:
    case adGUID:
    case adDBTime: return true;
    default: return false;
    }
}

bool IsLongText(long type) { return type == adLongVarChar || type == adLongVarWChar; }

std::string Shown(const Variant& v) {
    std::string text = v.Text();
    return Len(text) > 60 ? Left(text, 60) + "..." : text;  // characters: a cut never splits one
}

// Text longer than the column: blanks beyond the size are dropped as the server drops them, anything
// else is refused rather than cut.
std::string FitText(const ColumnInfo& c, std::string text) {
    if (c.definedSize <= 0 || IsLongText(c.type) || Len(text) <= static_cast<std::size_t>(c.definedSize)) return text;
    const std::string kept = Left(text, static_cast<std::size_t>(c.definedSize));
    if (RTrim(text).size() <= kept.size()) return kept;
    throw Error(ado::MultipleStepError,
                "The value for field '" + c.name + "' is longer than its size of " + std::to_string(c.definedSize) +
                    " characters: '" + Shown(Variant(text)) + "'",
                ado::kSource);
}

Decimal FitDecimal(const ColumnInfo& c, const Decimal& value) {
    if (c.precision <= 0) return value;  // precision not declared: kept as given
    const Decimal d = value.Rescale(c.numericScale);
    if (c.precision <= 18) {
        std::int64_t limit = 1;
        for (int i = 0; i < c.precision; ++i) limit *= 10;
        if (d.Unscaled() >= limit || d.Unscaled() <= -limit) throw Error(errc::Overflow, "Overflow", ado::kSource);
    }
    return d;
}

Variant Number(const Variant& v) {
    // The ERP's flag columns hold 1 for True, not VB's -1.
    return v.Type() == VarType::Boolean ? Variant(v.CBool() ? 1 : 0) : v;
}

// The value as the column stores it. Computed columns keep what they are given.
Variant Coerce(const ColumnInfo& c, const Variant& value) {
    if (value.IsNull() || value.IsEmpty() || value.IsMissing()) return Variant::Null();
    if (c.baseColumn.empty()) return value;
    try {
        switch (c.type) {
        case adBoolean: return Variant(value.CBool());
        case adTinyInt:
        case adSmallInt: {
            const long n = Number(value).CLng();
            const long lo = c.type == adTinyInt ? 0 : std::numeric_limits<std::int16_t>::min();
            const long hi = c.type == adTinyInt ? 255 : std::numeric_limits<std::int16_t>::max();
            if (n < lo || n > hi) throw Error(errc::Overflow, "Overflow", ado::kSource);
            return c.type == adSmallInt ? Variant(static_cast<std::int16_t>(n)) : Variant(n);
        }
        case adInteger: return Variant(Number(value).CLng());
        case adBigInt: return Variant(static_cast<long long>(Number(value).CDec().RoundHalfEven(0).Unscaled()));
        case adNumeric:
        case adDecimal:
        case adCurrency: return Variant(FitDecimal(c, Number(value).CDec()));
        case adSingle:
        case adDouble: return Variant(Number(value).CDbl());
        case adDBDate:
        case adDBTimeStamp: return Variant(value.CDate());
        default: break;
        }
        if (IsText(c.type)) {
            return Variant(FitText(c, value.Type() == VarType::Date ? value.CDate().ToIso() : value.CStr()));
        }
        return value;
    } catch (const Error& e) {
        if (e.Number() != errc::TypeMismatch && e.Number() != errc::Overflow) throw;
        throw Error(e.Number(),
                    StandardDescription(e.Number()) + ": field '" + c.name + "' cannot take the value '" + Shown(value) + "'",
                    ado::kSource);
    }
}

}  // namespace

const std::string& Field::Name() const { return owner_->Data().columns[static_cast<std::size_t>(index_)].name; }

Variant Field::Value() const {
    const long row = owner_->CurrentRow();
    if (row < 0) {
        owner_->RequireOpen();
        throw ado::Raise(errc::EofOrBof);
    }
    return owner_->Data().rows[static_cast<std::size_t>(row)].Value(static_cast<std::size_t>(index_));
}

void Field::Value(const Variant& v) {
    const ColumnInfo& column = owner_->Data().columns[static_cast<std::size_t>(index_)];
    owner_->SetFieldValue(index_, Coerce(column, v));
}

Variant Field::OriginalValue() const {
    const long row = owner_->CurrentRow();
    if (row < 0) {
        owner_->RequireOpen();
        throw ado::Raise(errc::EofOrBof);
    }
    return owner_->Data().rows[static_cast<std::size_t>(row)].Original(static_cast<std::size_t>(index_));
}

long Field::Type() const { return owner_->Data().columns[static_cast<std::size_t>(index_)].type; }
long Field::DefinedSize() const { return owner_->Data().columns[static_cast<std::size_t>(index_)].definedSize; }
int Field::Precision() const { return owner_->Data().columns[static_cast<std::size_t>(index_)].precision; }
int Field::NumericScale() const { return owner_->Data().columns[static_cast<std::size_t>(index_)].numericScale; }

long Field::ActualSize() const {
    const Variant v = Value();
    if (v.IsNull()) return 0;
    if (v.IsString()) return static_cast<long>(Len(v.Text()));
    return DefinedSize();
}

long Fields::Count() const {
    return owner_->State() == adStateOpen ? static_cast<long>(owner_->Data().columns.size()) : 0;
}

Field Fields::Item(long index) const {
    if (index < 0 || index >= Count()) {
        owner_->Data();  // closed: the closed error, not "not found"
        throw Error(errc::ItemNotFound, StandardDescription(errc::ItemNotFound) + " (field " + std::to_string(index) + ")",
                    ado::kSource);
    }
    return Field(owner_, index);
}

Field Fields::Item(const std::string& name) const {
    const long index = IndexOf(name);
    if (index < 0) {
        owner_->Data();
        throw Error(errc::ItemNotFound, StandardDescription(errc::ItemNotFound) + " (field '" + name + "')",
                    ado::kSource);
    }
    return Field(owner_, index);
}

long Fields::IndexOf(const std::string& name) const {
    return owner_->State() == adStateOpen ? owner_->Data().IndexOf(name) : -1;
}

}  // namespace db
