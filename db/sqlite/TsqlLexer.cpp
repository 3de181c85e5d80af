#include "db/sqlite/TsqlLexer.h"

#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Bytes of multi-byte UTF-8 characters count as letters: T-SQL accepts accented identifiers.
bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentPart(char c) { return IsIdentStart(c) || IsDigit(c) || c == '$' || c == '@' || c == '#'; }

class Lexer {
public:
    explicit Lexer(std::string_view sql) : s_(sql) {}

    std::vector<Token> Run() {
        std::vector<Token> out;
        while (SkipBlanksAndComments()) {
            out.push_back(Next());
        }
        return out;
    }

private:
    char At(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    // Returns false at the end of the text.
    bool SkipBlanksAndComments() {
        for (;;) {
            while (p_ < s_.size() && IsSpace(s_[p_])) ++p_;
            if (At(p_) == '-' && At(p_ + 1) == '-') {
                while (p_ < s_.size() && s_[p_] != '\n') ++p_;
            } else if (At(p_) == '/' && At(p_ + 1) == '*') {
                SkipBlockComment();
            } else {
                return p_ < s_.size();
            }
        }
    }

    // T-SQL block comments nest.
    void SkipBlockComment() {
        int depth = 0;
        do {
            if (p_ >= s_.size()) ThrowUnsupported("unterminated comment");
            if (At(p_) == '/' && At(p_ + 1) == '*') {
                ++depth;
                p_ += 2;
            } else if (At(p_) == '*' && At(p_ + 1) == '/') {
                --depth;
                p_ += 2;
            } else {
                ++p_;
            }
        } while (depth > 0);
    }

    Token Next() {
        const char c = s_[p_];
        if ((c == 'N' || c == 'n') && At(p_ + 1) == '\'') {
            ++p_;
            return {TokenKind::String, Quoted('\'', "string literal")};
        }
        if (c == '\'') return {TokenKind::String, Quoted('\'', "string literal")};
        if (c == '"') return {TokenKind::QuotedName, Quoted('"', "quoted name")};
        if (c == '[') return {TokenKind::QuotedName, Bracketed()};
        if (IsDigit(c) || (c == '.' && IsDigit(At(p_ + 1)))) return NumberToken();
        if (IsIdentStart(c)) return {TokenKind::Word, Ident()};
        if (c == '#') return TempNameToken();
        if (c == '@') return VariableToken();
        if (c == '?') {
            const size_t start = p_++;
            while (IsDigit(At(p_))) ++p_;
            return {TokenKind::Placeholder, std::string(s_.substr(start, p_ - start))};
        }
        switch (c) {
        case '(': ++p_; return {TokenKind::LParen, "("};
        case ')': ++p_; return {TokenKind::RParen, ")"};
        case ',': ++p_; return {TokenKind::Comma, ","};
        case '.': ++p_; return {TokenKind::Dot, "."};
        case ';': ++p_; return {TokenKind::Semicolon, ";"};
        default: break;
        }
        return OperatorToken();
    }

    // Reads 'x''y' (or "x""y"): the doubled quote stands for one.
    std::string Quoted(char quote, const char* what) {
        std::string value;
        ++p_;
        for (;;) {
            if (p_ >= s_.size()) ThrowUnsupported(std::string("unterminated ") + what);
            if (s_[p_] == quote) {
                if (At(p_ + 1) == quote) {
                    value += quote;
                    p_ += 2;
                    continue;
                }
                ++p_;
                return value;
            }
            value += s_[p_++];
        }
    }

    // [x]]y] is the name x]y.
    std::string Bracketed() {
        std::string value;
        ++p_;
        for (;;) {
            if (p_ >= s_.size()) ThrowUnsupported("unterminated [quoted name]");
            if (s_[p_] == ']') {
                if (At(p_ + 1) == ']') {
                    value += ']';
                    p_ += 2;
                    continue;
                }
                ++p_;
                return value;
            }
            value += s_[p_++];
        }
    }

    std::string Ident() {
        const size_t start = p_;
        while (p_ < s_.size() && IsIdentPart(s_[p_])) ++p_;
        return std::string(s_.substr(start, p_ - start));
    }

    // A number ends where its digits end: "=1AND" is the number 1 followed by AND, as SQL Server reads it.
    Token NumberToken() {
        const size_t start = p_;
        if (At(p_) == '0' && (At(p_ + 1) == 'x' || At(p_ + 1) == 'X')) ThrowUnsupported("binary literal 0x...");
        while (IsDigit(At(p_))) ++p_;
        if (At(p_) == '.') {
            ++p_;
            while (IsDigit(At(p_))) ++p_;
        }
        if (At(p_) == 'e' || At(p_) == 'E') {
            size_t q = p_ + 1;
            if (At(q) == '+' || At(q) == '-') ++q;
            if (IsDigit(At(q))) {
                p_ = q;
                while (IsDigit(At(p_))) ++p_;
            }
        }
        return {TokenKind::Number, std::string(s_.substr(start, p_ - start))};
    }

    Token TempNameToken() {
        size_t q = p_;
        while (At(q) == '#') ++q;
        if (q - p_ > 2 || !IsIdentStart(At(q))) ThrowUnsupported("character '#'");
        p_ = q;
        return {TokenKind::TempName, Ident()};
    }

    Token VariableToken() {
        const size_t start = p_;
        while (At(p_) == '@') ++p_;
        if (!IsIdentStart(At(p_))) ThrowUnsupported("character '@'");
        while (p_ < s_.size() && IsIdentPart(s_[p_])) ++p_;
        return {TokenKind::Variable, std::string(s_.substr(start, p_ - start))};
    }

    Token OperatorToken() {
        static const char* const kTwo[] = {"<>", "!=", "<=", ">=", "!<", "!>", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^="};
        for (const char* op : kTwo) {
            if (At(p_) == op[0] && At(p_ + 1) == op[1]) {
                p_ += 2;
                return {TokenKind::Operator, op};
            }
        }
        const char c = s_[p_];
        if (std::string_view("=<>+-*/%&|^~").find(c) != std::string_view::npos) {
            ++p_;
            return {TokenKind::Operator, std::string(1, c)};
        }
        ThrowUnsupported(std::string("character '") + c + "'");
    }

    std::string_view s_;
    size_t p_ = 0;
};

}  // namespace

std::vector<Token> LexTsql(std::string_view sql) { return Lexer(sql).Run(); }

}  // namespace db::sqlite
