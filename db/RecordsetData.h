#pragma once
// The rows of a client-side recordset and their pending changes, shared by a recordset and its clones.
// Rows are never erased while the data lives: a row that goes away (a cancelled new row, a deleted row
// once written) is marked gone, so row indices held by cursors stay valid.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Constants.h"
#include "db/Driver.h"
#include "db/Field.h"
#include "db/Variant.h"

namespace db {

struct RowData {
    std::vector<Variant> values;
    std::vector<Variant> original;  // as last read from or written to the database
    std::vector<char> changed;      // assigned since the row was last written (an unassigned new field is left out)
    long status = adRecUnmodified;  // adRecNew, adRecModified, adRecDeleted or adRecUnmodified
    bool gone = false;
    bool affected = false;  // written by the last batch (adFilterAffectedRecords)

    bool Live() const { return !gone && status != adRecDeleted; }
    bool Pending() const { return !gone && status != adRecUnmodified; }
};

struct RecordsetData {
    std::vector<ColumnInfo> columns;
    std::vector<RowData> rows;

    // Where writes go. readOnly with a reason when nothing may be written (Execute results, no base table).
    bool readOnly = false;
    std::string readOnlyReason;
    TableRef table;
    std::vector<char> writable;           // per column: a column of `table`, written back
    std::vector<std::size_t> keyFields;   // columns that find a row again: the primary key, else every writable one
    bool keyIsPrimary = true;

    std::uint64_t version = 0;  // bumped whenever rows appear or go, so every cursor rebuilds its view

    void IndexNames() {
        byName_.clear();
        for (std::size_t i = 0; i < columns.size(); ++i) byName_.emplace(Fold(columns[i].name), static_cast<long>(i));
    }
    long IndexOf(std::string_view name) const {
        auto it = byName_.find(Fold(name));
        return it == byName_.end() ? -1 : it->second;
    }

private:
    static std::string Fold(std::string_view s) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        return out;
    }
    std::unordered_map<std::string, long> byName_;  // upper-case name -> first column of that name
};

}  // namespace db
