#pragma once
// Column metadata and the per-field view of a recordset's current row.
#include <string>

#include "db/Variant.h"

namespace db {

struct ColumnInfo {
    std::string name;          // as the statement names it
    long type = 0;             // DataTypeEnum
    long definedSize = 0;      // characters for text, 0 when not known
    int precision = 0;
    int numericScale = 0;
    std::string baseSchema;    // database of the base table ("main", "temp"); empty when not known
    std::string baseTable;     // empty for computed columns
    std::string baseColumn;    // empty for computed columns
    bool nullable = true;
};

class Recordset;

// A field of the current row of a recordset (a light proxy: copy freely while the recordset lives).
class Field {
public:
    Field(Recordset* owner, long index) : owner_(owner), index_(index) {}
    const std::string& Name() const;
    Variant Value() const;
    void Value(const Variant& v);
    Variant OriginalValue() const;
    long Type() const;
    long DefinedSize() const;
    long ActualSize() const;
    int Precision() const;
    int NumericScale() const;
    long Index() const { return index_; }

private:
    Recordset* owner_;
    long index_;
};

class Fields {
public:
    explicit Fields(Recordset* owner) : owner_(owner) {}
    long Count() const;
    Field Item(long index) const;               // Error 3265 when out of range
    Field Item(const std::string& name) const;  // case-insensitive; Error 3265 when unknown
    Field operator[](long index) const { return Item(index); }
    Field operator[](int index) const { return Item(static_cast<long>(index)); }
    Field operator[](const std::string& name) const { return Item(name); }
    Field operator[](const char* name) const { return Item(std::string(name)); }
    long IndexOf(const std::string& name) const;  // -1 when unknown

private:
    Recordset* owner_;
};

}  // namespace db
