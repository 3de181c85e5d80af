#include "db/PackedRow.h"

#include <cstring>
#include <stdexcept>

namespace db {
namespace {

constexpr std::size_t kHeader = 3;  // offset width, value count

}  // namespace

std::size_t PackedRow::PayloadBytes(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null:
        case VarType::Missing: return 0;
        case VarType::Boolean: return 1;
        case VarType::Integer: return 2;
        case VarType::Long: return 4;
        case VarType::Double:
        case VarType::Date: return 8;
        case VarType::Decimal: return 9;
        case VarType::String: return v.Str().size();
        case VarType::Object: break;
    }
    throw std::invalid_argument("an object cannot be kept in a row");
}

namespace {

template <class T>
void Put(std::uint8_t* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

template <class T>
T Get(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

PackedRow::PackedRow(const std::vector<Variant>& values) {
    if (values.empty()) return;
    if (values.size() > 0xFFFF) throw std::invalid_argument("too many values for one row");
    std::size_t payload = 0;
    for (const Variant& v : values) payload += 1 + PayloadBytes(v);
    const std::size_t n = values.size();
    const std::size_t width = payload <= 0xFFFF ? 2 : 4;
    const std::size_t start = kHeader + (n + 1) * width;
    data_ = std::make_unique<std::uint8_t[]>(start + payload);
    std::uint8_t* d = data_.get();
    d[0] = static_cast<std::uint8_t>(width);
    Put(d + 1, static_cast<std::uint16_t>(n));
    std::size_t at = 0;
    auto offset = [&](std::size_t i) {
        if (width == 2) Put(d + kHeader + i * 2, static_cast<std::uint16_t>(at));
        else Put(d + kHeader + i * 4, static_cast<std::uint32_t>(at));
    };
    for (std::size_t i = 0; i < n; ++i) {
        offset(i);
        const Variant& v = values[i];
        std::uint8_t* p = d + start + at;
        *p++ = static_cast<std::uint8_t>(v.Type());
        switch (v.Type()) {
            case VarType::Boolean: *p = std::get<bool>(v.value_) ? 1 : 0; break;
            case VarType::Integer: Put(p, static_cast<std::int16_t>(v.Int())); break;
            case VarType::Long: Put(p, static_cast<std::int32_t>(v.Int())); break;
            case VarType::Double:
            case VarType::Date: Put(p, v.Dbl()); break;
            case VarType::Decimal:
                Put(p, v.Dec().Unscaled());
                p[8] = static_cast<std::uint8_t>(static_cast<std::int8_t>(v.Dec().Scale()));
                break;
            case VarType::String: std::memcpy(p, v.Str().data(), v.Str().size()); break;
            default: break;
        }
        at += 1 + PayloadBytes(v);
    }
    offset(n);
}

PackedRow::PackedRow(const PackedRow& other) {
    if (!other.data_) return;
    const std::size_t bytes = other.Bytes();
    data_ = std::make_unique<std::uint8_t[]>(bytes);
    std::memcpy(data_.get(), other.data_.get(), bytes);
}

PackedRow& PackedRow::operator=(const PackedRow& other) {
    if (this != &other) *this = PackedRow(other);
    return *this;
}

std::size_t PackedRow::size() const { return data_ ? Get<std::uint16_t>(data_.get() + 1) : 0; }

std::size_t PackedRow::Offset(std::size_t i) const {
    const std::uint8_t* d = data_.get();
    return d[0] == 2 ? Get<std::uint16_t>(d + kHeader + i * 2) : Get<std::uint32_t>(d + kHeader + i * 4);
}

std::size_t PackedRow::Bytes() const { return kHeader + (size() + 1) * data_[0] + Offset(size()); }

Variant PackedRow::operator[](std::size_t i) const {
    const std::size_t begin = Offset(i), end = Offset(i + 1);
    const std::uint8_t* p = data_.get() + kHeader + (size() + 1) * data_[0] + begin;
    const auto type = static_cast<VarType>(*p++);
    switch (type) {
        case VarType::Empty: return Variant();
        case VarType::Null: return Variant::Null();
        case VarType::Missing: return Variant::Missing();
        case VarType::Boolean: return Variant(*p != 0);
        case VarType::Integer: return Variant(Get<std::int16_t>(p));
        case VarType::Long: return Variant(static_cast<int>(Get<std::int32_t>(p)));
        case VarType::Double: return Variant(Get<double>(p));
        case VarType::Date: return Variant(Date{Get<double>(p)});
        case VarType::Decimal:
            return Variant(Decimal(Get<std::int64_t>(p), static_cast<std::int8_t>(p[8])));
        case VarType::String: return Variant(std::string(reinterpret_cast<const char*>(p), end - begin - 1));
        case VarType::Object: break;
    }
    return Variant();
}

Variant PackedRow::at(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("no value " + std::to_string(i) + " in the row");
    return (*this)[i];
}

std::vector<Variant> PackedRow::Unpack() const {
    std::vector<Variant> values;
    const std::size_t n = size();
    values.reserve(n);
    for (std::size_t i = 0; i < n; ++i) values.push_back((*this)[i]);
    return values;
}

}  // namespace db
