#include <cstdint>
#include <cstring>

#include "db/Error.h"
#include "db/Variant.h"
#include "db/sqlite/Collation.h"

namespace db {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the character that starts at s[i]: a well-formed UTF-8 sequence, or 1 for a malformed byte,
// so a character is never split and bad input is still walked through.
std::size_t CharLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    if (i + length > s.size()) return 1;
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second < low || second > high) return 1;
    for (std::size_t k = 2; k < length; ++k)
        if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return 1;
    return length;
}

// Byte offset after the first `chars` characters (the whole text when it has fewer).
std::size_t ByteOffset(std::string_view s, std::size_t chars) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < chars && i < s.size(); ++n) i += CharLength(s, i);
    return i;
}

}  // namespace

std::string LTrim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string RTrim(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::size_t Len(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) ++count;
    return count;
}

std::string Left(std::string_view s, std::size_t n) { return std::string(s.substr(0, ByteOffset(s, n))); }

std::string Right(std::string_view s, std::size_t n) {
    const std::size_t length = Len(s);
    if (n >= length) return std::string(s);
    return std::string(s.substr(ByteOffset(s, length - n)));
}

std::string Mid(std::string_view s, std::size_t start1, std::size_t n) {
    if (start1 == 0) throw Error(errc::InvalidProcedureCall);
    const std::size_t begin = ByteOffset(s, start1 - 1);
    const std::string_view rest = s.substr(begin);
    return std::string(rest.substr(0, n == std::string::npos ? rest.size() : ByteOffset(rest, n)));
}

std::string UCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = CharLength(s, i);
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
        } else if (length == 2 && c == 0xC3) {
            const auto second = static_cast<unsigned char>(s[i + 1]);
            if (second == 0xBF) {  // ÿ -> Ÿ (U+0178) lies outside Latin-1
                out += "\xC5\xB8";
            } else if (second >= 0xA0 && second != 0xB7) {  // à..þ except ÷
                out += static_cast<char>(0xC3);
                out += static_cast<char>(second - 0x20);
            } else {
                out.append(s.substr(i, length));
            }
        } else {
            out.append(s.substr(i, length));
        }
        i += length;
    }
    return out;
}

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes at a time: names of different lengths are told apart by this scan alone.
bool IsAscii(std::string_view s) {
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        high |= word;
    }
    for (; i < s.size(); ++i) high |= static_cast<unsigned char>(s[i]);
    return (high & kHighBits) == 0;
}

// Eight ASCII bytes with their lower-case letters made upper case, all at once: adding 0x1F sets a byte's high
// bit from 'a' up, adding 0x05 from past 'z' (no byte below 0x80 carries into the next).
std::uint64_t UpperAscii8(std::uint64_t word) {
    const std::uint64_t letter = (word + 0x1F1F1F1F1F1F1F1FULL) & ~(word + 0x0505050505050505ULL) & kHighBits;
    return word ^ (letter >> 2);  // each letter's high bit moved to its 0x20 bit, which is cleared
}

// Texts beyond ASCII, character by character as the database's collation folds them.
bool SameFolded(std::string_view a, std::string_view b) { return sqlite::FoldedText(a) == sqlite::FoldedText(b); }

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
    // Names of one table share their start, not their end: two whose last letters differ are told apart
    // at once (an ASCII last byte is a whole character, folded alone).
    if (!a.empty() && !b.empty()) {
        const char x = a.back(), y = b.back();
        if (static_cast<unsigned char>(x) < 0x80 && static_cast<unsigned char>(y) < 0x80 &&
            AsciiUpper(x) != AsciiUpper(y))
            return false;
    }
    // Names and codes are nearly always ASCII: compared in place; anything else folded, where a character
    // may be written in more bytes than its other case.
    if (a.size() != b.size()) return IsAscii(a) && IsAscii(b) ? false : SameFolded(a, b);
    // Equal bytes are equal characters whatever they are; unequal ones are compared as letters when both are
    // ASCII. Eight at a time first.
    std::size_t i = 0;
    for (; i + 8 <= a.size(); i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x == y) continue;
        if ((x | y) & kHighBits) return SameFolded(a, b);
        if (UpperAscii8(x) != UpperAscii8(y)) return false;
    }
    for (; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        if (x >= 0x80 || y >= 0x80) return SameFolded(a, b);
        if (AsciiUpper(static_cast<char>(x)) != AsciiUpper(static_cast<char>(y))) return false;
    }
    return true;
}

bool SameCode(std::string_view a, std::string_view b) { return SameText(RTrim(a), RTrim(b)); }

std::u32string CodeKey(std::string_view code) { return sqlite::FoldedText(RTrim(code)); }

}  // namespace db
