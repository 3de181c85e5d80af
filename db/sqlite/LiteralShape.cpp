#include "db/sqlite/LiteralShape.h"

#include <algorithm>
#include <cctype>

#include "db/sqlite/LiteralValue.h"

namespace db::sqlite {
namespace {

// A string's placeholder is a string literal no statement carries: control character, index, control
// character. A number's is a number no statement writes: a leading zero, kNumberMark and a four-digit index.
constexpr char kMark = '\x01';
constexpr std::string_view kNumberMark = "07357";
constexpr std::size_t kNumberIndexDigits = 4;
constexpr std::size_t kMaxNumbers = 9999;
constexpr std::size_t kMaxNumberDigits = 18;  // what a 64-bit integer holds

bool IsIdentPart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
           c == '@' || c == '#' || static_cast<unsigned char>(c) >= 0x80;
}

bool SameWord(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
    return true;
}

// Whether `word` (upper case) stands in the text as a word of its own, in any case. Its first letter is
// looked for with memchr: statements are long, and the letter is rare enough.
bool HasWord(std::string_view text, std::string_view word) {
    const char upper = word[0], lower = static_cast<char>(std::tolower(static_cast<unsigned char>(upper)));
    for (const char first : {upper, lower}) {
        for (std::size_t i = text.find(first); i != std::string_view::npos; i = text.find(first, i + 1)) {
            if (i > 0 && IsIdentPart(text[i - 1])) continue;
            if (i + word.size() > text.size() || !SameWord(text.substr(i, word.size()), word)) continue;
            if (i + word.size() == text.size() || !IsIdentPart(text[i + word.size()])) return true;
        }
    }
    return false;
}

// Whether one of the words whose translation reads the literals they take (OBJECT_ID, STUFF, FOR XML)
// stands anywhere in the text.
bool HasWordReadingLiterals(std::string_view text) {
    return HasWord(text, "OBJECT_ID") || HasWord(text, "STUFF") || HasWord(text, "XML");
}

// Whether the word just before `at` (blanks skipped) is `word` (upper case).
bool WordBeforeIs(std::string_view text, std::size_t at, std::string_view word) {
    std::size_t end = at;
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    if (end < word.size()) return false;
    const std::size_t start = end - word.size();
    if (start > 0 && IsIdentPart(text[start - 1])) return false;
    return SameWord(text.substr(start, word.size()), word);
}

std::string Placeholder(std::size_t index) { return std::string("'") + kMark + std::to_string(index) + kMark + "'"; }

std::string NumberPlaceholder(std::size_t index) {
    std::string digits = std::to_string(index);
    return std::string(kNumberMark) + std::string(kNumberIndexDigits - digits.size(), '0') + digits;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string SqlLiteral(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// End (one past the closing quote) of the quoted part opening at `from`, a doubled quote being part of
// it; npos when unterminated.
std::size_t QuotedEnd(std::string_view text, std::size_t from) {
    const char close = text[from] == '[' ? ']' : text[from];
    for (std::size_t i = text.find(close, from + 1); i != std::string_view::npos; i = text.find(close, i + 2))
        if (i + 1 >= text.size() || text[i + 1] != close) return i + 1;
    return std::string_view::npos;
}

// End of a comment opening at `from` ("--" or "/*", which nest in T-SQL); npos when unterminated.
std::size_t CommentEnd(std::string_view text, std::size_t from) {
    if (text[from] == '-') {
        const std::size_t end = text.find('\n', from);
        return end == std::string_view::npos ? text.size() : end;
    }
    int depth = 0;
    for (std::size_t i = from; i + 1 < text.size(); ++i) {
        if (text[i] == '/' && text[i + 1] == '*') {
            ++depth;
            ++i;
        } else if (text[i] == '*' && text[i + 1] == '/') {
            if (--depth == 0) return i + 2;
            ++i;
        }
    }
    return std::string_view::npos;
}

// The first character from `from` that may open a literal, a quoted name or a comment.
std::size_t NextSpecial(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        switch (text[i]) {
            case '\'': case '"': case '[': case '-': case '/': case '=': return i;
            default: break;
        }
    }
    return std::string_view::npos;
}

LiteralShape Shape(std::string_view text) {
    LiteralShape shape;
    if (text.find('\'') == std::string_view::npos && text.find('=') == std::string_view::npos) return shape;
    // A text that already holds what looks like a number's placeholder keeps its values.
    if (text.find(kNumberMark) != std::string_view::npos) return shape;
    if (HasWordReadingLiterals(text)) return shape;
    shape.text.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t i = NextSpecial(text, 0); i != std::string_view::npos; i = NextSpecial(text, i)) {
        const char c = text[i];
        std::size_t end;
        if (c == '=') {
            // "= 123": a value compared or assigned.
            std::size_t start = i + 1;
            while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
            end = start;
            while (end < text.size() && IsDigit(text[end])) ++end;
            const bool whole = end > start && end - start <= kMaxNumberDigits &&
                               (end == text.size() || !(IsIdentPart(text[end]) || text[end] == '.'));
            if (whole && shape.values.size() < kMaxNumbers) {
                shape.text.append(text, copied, start - copied);
                shape.text += NumberPlaceholder(shape.values.size());
                shape.values.push_back({true, std::string(text.substr(start, end - start))});
                copied = end;
            }
            i = std::max(end, i + 1);
            continue;
        }
        if (c == '-' || c == '/') {
            if (i + 1 >= text.size() || text[i + 1] != (c == '-' ? '-' : '*')) {
                ++i;
                continue;
            }
            end = CommentEnd(text, i);
        } else {
            end = QuotedEnd(text, i);
        }
        if (end == std::string_view::npos) return {};  // the translation reports it
        // A LIKE pattern is checked for character classes: its value is part of the shape.
        if (c == '\'' && !WordBeforeIs(text, i, "LIKE") &&
            !(i > 0 && (text[i - 1] == 'N' || text[i - 1] == 'n') && WordBeforeIs(text, i - 1, "LIKE"))) {
            if (text.substr(i + 1, end - i - 2).find(kMark) != std::string_view::npos) return {};
            std::string value = LiteralValue(text.substr(i, end - i));
            shape.text.append(text, copied, i - copied);
            shape.text += Placeholder(shape.values.size());
            shape.values.push_back({false, std::move(value)});
            copied = end;
        }
        i = end;
    }
    shape.text.append(text, copied, std::string_view::npos);
    return shape;
}

}  // namespace

LiteralShape ShapeLiterals(std::string_view tsql) {
    LiteralShape shape = Shape(tsql);
    if (!shape.Shaped()) shape.text = std::string(tsql);
    return shape;
}

namespace {

// The index of the number placeholder at `at` (bounded by non-digits), or npos when there is none.
std::size_t NumberPlaceholderAt(const std::string& sql, std::size_t at) {
    if (sql.compare(at, kNumberMark.size(), kNumberMark) != 0) return std::string::npos;
    if (at > 0 && (IsIdentPart(sql[at - 1]) || sql[at - 1] == '.')) return std::string::npos;
    const std::size_t digits = at + kNumberMark.size(), end = digits + kNumberIndexDigits;
    if (end > sql.size()) return std::string::npos;
    for (std::size_t i = digits; i < end; ++i)
        if (!IsDigit(sql[i])) return std::string::npos;
    if (end < sql.size() && (IsIdentPart(sql[end]) || sql[end] == '.')) return std::string::npos;
    return std::stoul(sql.substr(digits, kNumberIndexDigits));
}

}  // namespace

std::optional<std::vector<std::string>> FillLiterals(const std::vector<std::string>& translated,
                                                     const std::vector<ShapedValue>& values) {
    std::vector<char> seen(values.size(), 0);
    auto take = [&](std::size_t index, bool number) {
        if (index >= values.size() || seen[index] || values[index].number != number) return false;
        seen[index] = 1;
        return true;
    };
    std::vector<std::string> out;
    out.reserve(translated.size());
    for (const std::string& sql : translated) {
        std::string filled;
        filled.reserve(sql.size() + 64);
        std::size_t from = 0;
        for (std::size_t at = from; at < sql.size(); ++at) {
            if (sql[at] == kMark) {
                // '<mark>digits<mark>' as a whole string literal, or the translation changed it.
                std::size_t end = at + 1;
                while (end < sql.size() && IsDigit(sql[end])) ++end;
                if (at == 0 || sql[at - 1] != '\'' || end == at + 1 || end + 1 >= sql.size() || sql[end] != kMark ||
                    sql[end + 1] != '\'')
                    return std::nullopt;
                const std::size_t index = std::stoul(sql.substr(at + 1, end - at - 1));
                if (!take(index, false)) return std::nullopt;
                filled.append(sql, from, at - 1 - from);
                filled += SqlLiteral(values[index].text);
                from = at = end + 2;
                --at;
            } else if (sql[at] == kNumberMark[0]) {
                const std::size_t index = NumberPlaceholderAt(sql, at);
                if (index == std::string::npos) continue;
                if (!take(index, true)) return std::nullopt;
                filled.append(sql, from, at - from);
                filled += values[index].text;
                from = at + kNumberMark.size() + kNumberIndexDigits;
                at = from - 1;
            }
        }
        filled.append(sql, from, std::string::npos);
        out.push_back(std::move(filled));
    }
    for (char s : seen)
        if (!s) return std::nullopt;
    return out;
}

namespace {

// The index of the string placeholder "'<mark>digits<mark>'" opening at `at`, or npos.
std::size_t StringPlaceholderAt(const std::string& sql, std::size_t at) {
    if (at + 4 > sql.size() || sql[at] != '\'' || sql[at + 1] != kMark) return std::string::npos;
    std::size_t end = at + 2;
    while (end < sql.size() && IsDigit(sql[end])) ++end;
    if (end == at + 2 || end + 1 >= sql.size() || sql[end] != kMark || sql[end + 1] != '\'') return std::string::npos;
    return std::stoul(sql.substr(at + 2, end - at - 2));
}

bool HoldsPlaceholder(const std::string& sql) {
    if (sql.find(kMark) != std::string::npos) return true;
    for (std::size_t at = sql.find(kNumberMark); at != std::string::npos; at = sql.find(kNumberMark, at + 1))
        if (NumberPlaceholderAt(sql, at) != std::string::npos) return true;
    return false;
}

}  // namespace

std::optional<BoundShape> BindShape(const std::string& translated) {
    BoundLiterals bound = BindLiterals(translated);
    if (!bound.Rewritten() || HoldsPlaceholder(bound.sql)) return std::nullopt;
    BoundShape shape;
    shape.sql = std::move(bound.sql);
    for (BoundLiteral& literal : bound.values) {
        const std::size_t index = literal.number ? NumberPlaceholderAt(translated, literal.at)
                                                 : StringPlaceholderAt(translated, literal.at);
        shape.shapeIndex.push_back(index == std::string::npos ? -1 : static_cast<long>(index));
        shape.values.push_back(index == std::string::npos ? std::move(literal) : BoundLiteral{literal.number, {}, 0, 0});
    }
    return shape;
}

std::optional<std::vector<BoundLiteral>> BoundValues(const BoundShape& shape, const std::vector<ShapedValue>& values) {
    std::vector<BoundLiteral> out;
    out.reserve(shape.values.size());
    for (std::size_t k = 0; k < shape.values.size(); ++k) {
        const long index = shape.shapeIndex[k];
        if (index < 0) {
            out.push_back(shape.values[k]);
            continue;
        }
        if (static_cast<std::size_t>(index) >= values.size()) return std::nullopt;
        const ShapedValue& v = values[static_cast<std::size_t>(index)];
        if (v.number != shape.values[k].number) return std::nullopt;
        if (v.number) out.push_back({true, {}, std::stoll(v.text), 0});
        else out.push_back({false, v.text, 0, 0});
    }
    return out;
}

}  // namespace db::sqlite
