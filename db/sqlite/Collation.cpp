// The comparison alone, with nothing of SQLite or of the project: the driver and the loadable extension
// (db/sqlite/extension) both link it, so the database is read by one rule whoever opens it.
#include "db/sqlite/Collation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace db::sqlite {

// ÿ is left alone: its capital is outside Latin-1.
char32_t FoldCase(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    return c;
}

namespace {

std::string_view TrimTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Next code point of s from i (advancing i). Invalid sequences yield the single byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) { return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; };
    auto byte = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(s[i + k]) & 0x3F); };
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0 && cont(1)) {
        char32_t c = (static_cast<char32_t>(b0 & 0x1F) << 6) | byte(1);
        i += 2;
        return c;
    }
    if ((b0 & 0xF0) == 0xE0 && cont(1) && cont(2)) {
        char32_t c = (static_cast<char32_t>(b0 & 0x0F) << 12) | (byte(1) << 6) | byte(2);
        i += 3;
        return c;
    }
    if ((b0 & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3)) {
        char32_t c = (static_cast<char32_t>(b0 & 0x07) << 18) | (byte(1) << 12) | (byte(2) << 6) | byte(3);
        i += 4;
        return c;
    }
    ++i;
    return b0;
}

// The length of the common start of a and b skipped unread: the keys of one index share long starts (codes
// of one series). Equal bytes compare equal eight at a time; the skip then backs off to just after an ASCII
// byte, so that it never ends inside a character that the comparison must read whole.
std::size_t SameStart(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (std::uint64_t x = 0, y = 0; i + 8 <= n; i += 8) {
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) break;
    }
    while (i > 0 && static_cast<unsigned char>(a[i - 1]) >= 0x80) --i;
    return i;
}

int CompareFolded(std::string_view a, std::string_view b) {
    std::size_t i = SameStart(a, b), j = i;
    while (i < a.size() && j < b.size()) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        if ((x | y) < 0x80) {
            // Two ASCII characters, a byte each (SQLite compares every index key through here): folded only
            // when they differ.
            if (x != y) {
                const char32_t fx = FoldCase(x), fy = FoldCase(y);
                if (fx != fy) return fx < fy ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        const char32_t ca = FoldCase(NextCodePoint(a, i));
        const char32_t cb = FoldCase(NextCodePoint(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool LikeFrom(std::string_view t, std::size_t ti, std::string_view p, std::size_t pi) {
    while (pi < p.size()) {
        if (p[pi] == '%' || p[pi] == '*') {
            while (pi < p.size() && (p[pi] == '%' || p[pi] == '*')) ++pi;
            if (pi == p.size()) return true;
            for (std::size_t k = ti; k <= t.size(); ++k) {
                if (k > ti && k < t.size() && (static_cast<unsigned char>(t[k]) & 0xC0) == 0x80) continue;
                if (LikeFrom(t, k, p, pi)) return true;
            }
            return false;
        }
        if (ti >= t.size()) return false;
        if (p[pi] == '_') {
            NextCodePoint(t, ti);
            ++pi;
            continue;
        }
        if (FoldCase(NextCodePoint(t, ti)) != FoldCase(NextCodePoint(p, pi))) return false;
    }
    return ti == t.size();
}

}  // namespace

std::u32string FoldedText(std::string_view s) {
    std::u32string folded;
    folded.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) folded += FoldCase(NextCodePoint(s, i));
    return folded;
}

int CompareSqlServer(std::string_view a, std::string_view b) {
    return CompareFolded(TrimTrailingBlanks(a), TrimTrailingBlanks(b));
}

bool LikeSqlServer(std::string_view text, std::string_view pattern) {
    return LikeFrom(TrimTrailingBlanks(text), 0, TrimTrailingBlanks(pattern), 0);
}

int CollateSqlServer(void*, int na, const void* a, int nb, const void* b) {
    return CompareSqlServer(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                            std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

}  // namespace db::sqlite
