#pragma once
// The texts an attacker, a careless paste or a foreign keyboard puts into a field, one list for every
// entry point: each test of this folder runs over all of them (or says why one cannot reach it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hostile {

struct HostileValue {
    std::string name;  // gtest parameter name: letters, digits, '_'
    std::string text;
};
inline void PrintTo(const HostileValue& v, std::ostream* os) { *os << v.name; }

inline const std::string& Megabyte() {
    // Quotes, a statement separator and a comment marker repeated: every escape is exercised a million
    // times over, and the statement grows to several megabytes.
    static const std::string text = [] {
        const std::string unit = "O'NEIL; --/*x*/ ";
        std::string s;
        while (s.size() + unit.size() <= (1u << 20)) s += unit;
        return s + std::string((1u << 20) - s.size(), 'M');
    }();
    return text;
}

inline std::vector<HostileValue> Values() {
    return {
        {"quote_or", "x' OR '1'='1"},
        {"oneil", "O'NEIL"},
        {"second_statement", "a'; DROP TABLE MG66_ANAGRART; --"},
        {"line_comment", "AB-- CD"},
        {"block_comment", "AB/* CD */EF"},
        {"accented", "CAFFÈ-ÀÇÑ"},
        {"cjk", "商品编号"},
        {"emoji", "👕🧵✂️"},
        {"tab", "A\tB"},
        {"crlf", "A\r\nB"},
        {"control_01", "A\x01" "B"},
        {"embedded_nul", std::string("A\0B", 3)},
        {"empty", ""},
        {"megabyte", Megabyte()},
    };
}

// Values at a column width that counts characters: `n` characters of two bytes each (or of the given
// character), and one more.
inline std::string Wide(std::size_t n, const std::string& character = "È") {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += character;
    return s;
}

inline std::string ParamName(const ::testing::TestParamInfo<HostileValue>& info) { return info.param.name; }

}  // namespace hostile
