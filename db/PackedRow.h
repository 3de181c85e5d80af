#pragma once
// A row of values in one allocation, as a statement's result and a recordset keep the rows they read. A
// Variant takes 48 bytes whatever it holds; packed, a short code or a flag takes a few. A selection of
// thousands of articles is read once and mostly only looked at, so its rows stay packed; a row is unpacked
// only while it is being changed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "db/Variant.h"

namespace db {

class PackedRow {
public:
    PackedRow() = default;
    // Objects cannot be packed (no database value is one): std::invalid_argument.
    explicit PackedRow(const std::vector<Variant>& values);
    PackedRow(const PackedRow& other);
    PackedRow& operator=(const PackedRow& other);
    PackedRow(PackedRow&&) noexcept = default;
    PackedRow& operator=(PackedRow&&) noexcept = default;

    std::size_t size() const;
    bool empty() const { return size() == 0; }
    Variant operator[](std::size_t i) const;
    Variant at(std::size_t i) const;  // std::out_of_range past the last value
    std::vector<Variant> Unpack() const;

private:
    // Header: the offset width (2 or 4 bytes) and the value count (2 bytes); then count + 1 offsets from
    // the start of the values; then each value: a type byte and its bytes (a text's length is the gap to
    // the next offset).
    static std::size_t PayloadBytes(const Variant& v);
    std::size_t Offset(std::size_t i) const;
    std::size_t Bytes() const;

    std::unique_ptr<std::uint8_t[]> data_;
};

}  // namespace db
