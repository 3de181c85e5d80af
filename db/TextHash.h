#pragma once
// A hash for the maps keyed by whole statement texts (prepared statements, translations, the statements a
// run makes once). Every statement an article runs is looked up by its text, some of them a few thousand
// characters long: the library's string hash reads a byte at a little over one instruction, this one
// sixteen bytes at a time with one wide multiplication, about a third of that. Equal texts still compare
// whole, so a poor spread costs time, never a wrong answer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace db {

namespace text_hash {

// The two halves of a 128-bit product folded together: every bit of either factor reaches the result.
inline std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

inline std::uint64_t Load(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

constexpr std::uint64_t kOdd0 = 0xa0761d6478bd642full;
constexpr std::uint64_t kOdd1 = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kOdd2 = 0x8ebc6af09c88c6e3ull;

}  // namespace text_hash

inline std::size_t HashText(std::string_view s) {
    using namespace text_hash;
    const char* p = s.data();
    std::size_t n = s.size();
    std::uint64_t h = kOdd0 ^ static_cast<std::uint64_t>(n);
    for (; n >= 16; p += 16, n -= 16) h = Fold(Load(p) ^ kOdd1 ^ h, Load(p + 8) ^ kOdd2);
    // The last one to fifteen bytes, read as two words that may overlap (or byte by byte when fewer than 8).
    std::uint64_t a = 0, b = 0;
    if (n >= 8) {
        a = Load(p);
        b = Load(p + n - 8);
    } else {
        for (std::size_t i = 0; i < n; ++i) a = (a << 8) | static_cast<unsigned char>(p[i]);
    }
    return static_cast<std::size_t>(Fold(a ^ kOdd1 ^ h, b ^ kOdd2 ^ static_cast<std::uint64_t>(s.size())));
}

// For unordered containers keyed by std::string; transparent, so a string_view finds without a copy.
struct TextHasher {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return HashText(s); }
    std::size_t operator()(const std::string& s) const { return HashText(s); }
    std::size_t operator()(const char* s) const { return HashText(s); }
};

}  // namespace db
