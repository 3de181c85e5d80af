#include "db/sqlite/BoundLiterals.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "db/Variant.h"
#include "db/sqlite/LiteralValue.h"

namespace db::sqlite {
namespace {

// ASCII tests in place of the C library's: these run on every character around a literal of every statement,
// and the library's go through the locale for each.
bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u >= 0x80;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool StartsWithWord(std::string_view sql, std::string_view word) {
    if (sql.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (AsciiUpper(sql[i]) != word[i]) return false;
    return sql.size() == word.size() || !IsWordChar(sql[word.size()]);
}

// The parameter's name: the prefix and the literal's number.
void AppendParameter(std::string& out, std::size_t number) {
    out += kBoundLiteralPrefix;
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

bool IsDataStatement(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size() && (IsBlank(sql[i]) || sql[i] == '(')) ++i;
    sql.remove_prefix(i);
    for (std::string_view verb : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH", "REPLACE"})
        if (StartsWithWord(sql, verb)) return true;
    return false;
}

// Whether the word that ends just before `at` (blanks skipped) is `word` (upper case).
bool WordBeforeIs(std::string_view sql, std::size_t at, std::string_view word) {
    std::size_t end = at;
    while (end > 0 && IsBlank(sql[end - 1])) --end;
    if (end < word.size()) return false;
    const std::size_t start = end - word.size();
    if (start > 0 && IsWordChar(sql[start - 1])) return false;
    return StartsWithWord(sql.substr(start, word.size()), word);
}

// End (one past the closing quote) of the quoted part opening at `from`; npos when unterminated.
std::size_t QuotedEnd(std::string_view sql, std::size_t from) {
    const char close = sql[from] == '[' ? ']' : sql[from];
    for (std::size_t i = sql.find(close, from + 1); i != std::string_view::npos; i = sql.find(close, i + 2)) {
        if (close == ']' || i + 1 >= sql.size() || sql[i + 1] != close) return i + 1;
    }
    return std::string_view::npos;
}

// The characters that may open a literal, a quoted name or a comment, or precede a compared number, found
// in order. Each is looked for with find (memchr) and its next place remembered: the texts run to kilobytes,
// and a look at every character costs more than seven searches that skip ahead.
class SpecialScanner {
public:
    explicit SpecialScanner(std::string_view sql) : sql_(sql) {
        for (std::size_t k = 0; k < kChars.size(); ++k) next_[k] = sql_.find(kChars[k]);
    }

    // The first such character at or after `from`; npos when there is none.
    std::size_t From(std::size_t from) {
        std::size_t first = std::string_view::npos;
        for (std::size_t k = 0; k < kChars.size(); ++k) {
            if (next_[k] != std::string_view::npos && next_[k] < from) next_[k] = sql_.find(kChars[k], from);
            first = std::min(first, next_[k]);
        }
        return first;
    }

private:
    static constexpr std::string_view kChars = "'\"`[-/=";
    std::string_view sql_;
    std::array<std::size_t, kChars.size()> next_{};
};

}  // namespace

BoundLiterals BindLiterals(std::string_view sql) {
    BoundLiterals out;
    // find() per character beats find_first_of, which searches the set for every character of the text.
    if ((sql.find('\'') == std::string_view::npos && sql.find('=') == std::string_view::npos) || !IsDataStatement(sql))
        return out;
    std::string rewritten;
    rewritten.reserve(sql.size() + 64);
    out.values.reserve(8);  // the statements the component writes carry a handful; growing costs a copy each time
    std::size_t copied = 0;  // sql[0, copied) is in `rewritten`
    SpecialScanner specials(sql);
    for (std::size_t i = specials.From(0); i != std::string_view::npos; i = specials.From(i)) {
        const char c = sql[i];
        if (c == '=') {
            // "= 123": a value compared or assigned.
            std::size_t start = i + 1;
            while (start < sql.size() && sql[start] == ' ') ++start;
            std::size_t end = start;
            while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9') ++end;
            if (end > start && end - start <= 18 && (end == sql.size() || !(IsWordChar(sql[end]) || sql[end] == '.'))) {
                rewritten.append(sql, copied, start - copied);
                AppendParameter(rewritten, out.values.size());
                long long number = 0;  // at most 18 digits: no overflow
                for (std::size_t k = start; k < end; ++k) number = number * 10 + (sql[k] - '0');
                out.values.push_back({true, {}, number, start});
                copied = end;
            }
            i = std::max(end, i + 1);
            continue;
        }
        if (c == '-' || c == '/') {
            // Comments are the translator's business; a text that still has one is left alone.
            if (i + 1 < sql.size() && sql[i + 1] == (c == '-' ? '-' : '*')) return {};
            ++i;
            continue;
        }
        const std::size_t end = QuotedEnd(sql, i);
        if (end == std::string_view::npos) return {};  // SQLite reports it
        const bool prefixed = i > 0 && (i < 2 || !IsWordChar(sql[i - 2]));
        const bool blob = prefixed && (sql[i - 1] == 'x' || sql[i - 1] == 'X');
        // N'...', a national text of SQL Server, which SQLite does not read: the bound value takes its place.
        const bool national = prefixed && (sql[i - 1] == 'N' || sql[i - 1] == 'n');
        if (c == '\'' && !blob && !WordBeforeIs(sql, national ? i - 1 : i, "AS")) {
            std::string value = LiteralValue(sql.substr(i, end - i));
            rewritten.append(sql, copied, (national ? i - 1 : i) - copied);
            AppendParameter(rewritten, out.values.size());
            out.values.push_back({false, std::move(value), 0, i});
            copied = end;
        }
        i = end;
    }
    if (out.values.empty() || out.values.size() > kMaxBoundLiterals) return {};
    rewritten.append(sql, copied, std::string_view::npos);
    out.sql = std::move(rewritten);
    return out;
}

}  // namespace db::sqlite
