#pragma once
// The rows of a client-side recordset and their pending changes, shared by a recordset and its clones.
// Rows are never erased while the data lives: a row that goes away (a cancelled new row, a deleted row
// once written) is marked gone, so row indices held by cursors stay valid.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Constants.h"
#include "db/Driver.h"
#include "db/Field.h"
#include "db/PackedRow.h"
#include "db/Variant.h"

namespace db {

struct RowData {
    // As last read from or written to the database (empty for a row added and not yet written).
    PackedRow stored;
    long status = adRecUnmodified;  // adRecNew, adRecModified, adRecDeleted or adRecUnmodified
    bool gone = false;
    bool affected = false;  // written by the last batch (adFilterAffectedRecords)

    RowData() = default;
    RowData(const RowData& other)
        : stored(other.stored),
          status(other.status),
          gone(other.gone),
          affected(other.affected),
          edit_(other.edit_ ? std::make_unique<Edit>(*other.edit_) : nullptr) {}
    RowData& operator=(const RowData& other) {
        if (this != &other) *this = RowData(other);
        return *this;
    }
    RowData(RowData&&) noexcept = default;
    RowData& operator=(RowData&&) noexcept = default;

    Variant Value(std::size_t i) const { return edit_ ? edit_->values[i] : stored[i]; }
    // A row added and not yet written has Null for every original value.
    Variant Original(std::size_t i) const { return stored.empty() ? Variant::Null() : stored[i]; }
    bool Changed(std::size_t i) const { return edit_ && edit_->changed[i]; }
    // A new row: every value Null, none assigned.
    void StartNew(std::size_t columns) {
        edit_ = std::make_unique<Edit>();
        edit_->values.assign(columns, Variant::Null());
        edit_->changed.assign(columns, 0);
    }
    // Gives the field a value, unpacking the row the first time one of its fields changes.
    void Assign(std::size_t i, const Variant& value, std::size_t columns) {
        if (!edit_) {
            edit_ = std::make_unique<Edit>();
            edit_->values = stored.Unpack();
            edit_->changed.assign(columns, 0);
        }
        edit_->values[i] = value;
        edit_->changed[i] = 1;
    }
    // The values being changed (a new row's, read back once written); only while the row has some.
    std::vector<Variant>& EditedValues() { return edit_->values; }
    // The values are the database's now: packed again (Revert: the values as they were read).
    void Settle(bool keepValues) {
        if (keepValues && edit_) stored = PackedRow(edit_->values);
        edit_.reset();
    }
    bool Live() const { return !gone && status != adRecDeleted; }
    bool Pending() const { return !gone && status != adRecUnmodified; }

private:
    // The row's values and which were assigned, only while it is being changed or is new and unwritten: a
    // selection of thousands of rows read and never edited keeps only its packed rows.
    struct Edit {
        std::vector<Variant> values;
        std::vector<char> changed;
    };
    std::unique_ptr<Edit> edit_;
};

// Column names compare without regard to case (they are ASCII): hashed and compared folded, so that a lookup
// by any spelling needs no folded copy of the name.
// Eight characters at a time, bit 5 of each cleared: names equal but for case hash alike (other names may
// too: equality decides).
struct FoldedNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
        constexpr std::uint64_t kCase = 0x2020202020202020ull, kPrime = 0x100000001B3ull;
        std::uint64_t h = 0xCBF29CE484222325ull ^ s.size();
        std::size_t i = 0;
        for (; i + 8 <= s.size(); i += 8) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + i, 8);
            h = (h ^ (w & ~kCase)) * kPrime;
        }
        for (; i < s.size(); ++i) h = (h ^ (static_cast<unsigned char>(s[i]) & ~0x20u)) * kPrime;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

struct SameFoldedName {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
        return true;
    }
};

struct RecordsetData {
    ColumnList columns;
    std::vector<RowData> rows;

    // Where writes go. readOnly with a reason when nothing may be written (Execute results, no base table).
    bool readOnly = false;
    std::string readOnlyReason;
    TableRef table;
    std::vector<char> writable;           // per column: a column of `table`, written back
    std::vector<std::size_t> keyFields;   // columns that find a row again: the primary key, else every writable one
    bool keyIsPrimary = true;

    std::uint64_t version = 0;  // bumped whenever rows appear or go, so every cursor rebuilds its view

    // A few lookups by name scan the columns; the index is built for a recordset looked up more often (most
    // recordsets are read by position, or by a name or two).
    void IndexNames() {
        byName_.clear();
        indexed_ = false;
        scans_ = 0;
    }
    long IndexOf(std::string_view name) const {
        if (scans_ < kScansBeforeIndex) {
            ++scans_;
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (SameFoldedName{}(columns[i].name, name)) return static_cast<long>(i);
            return -1;
        }
        if (!indexed_) {
            for (std::size_t i = 0; i < columns.size(); ++i) byName_.emplace(columns[i].name, static_cast<long>(i));
            indexed_ = true;
        }
        auto it = byName_.find(name);
        return it == byName_.end() ? -1 : it->second;
    }

private:
    static constexpr int kScansBeforeIndex = 16;
    mutable int scans_ = 0;
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::string, long, FoldedNameHash, SameFoldedName> byName_;  // first column of a name
};

}  // namespace db
