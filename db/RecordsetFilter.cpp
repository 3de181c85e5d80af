#include "db/RecordsetFilter.h"

#include <cctype>
#include <cstdio>
#include <utility>

#include "db/AdoErrors.h"
#include "db/sqlite/Collation.h"

namespace db {
namespace {

enum class Tok { End, LParen, RParen, Comma, Name, Op, Text, Number, DateLit, Word };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // Word: upper case
};

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool NameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || c == '@' || u >= 0x80;
}
bool NamePart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '@' || c == '$' || c == '#' || u >= 0x80;
}

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}

    std::vector<Token> All() {
        std::vector<Token> out;
        for (;;) {
            Token t = Next();
            out.push_back(t);
            if (t.kind == Tok::End) return out;
        }
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ado::ArgumentError("Invalid filter \"" + std::string(s_) + "\": " + what + ".");
    }

    Token Next() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
        if (i_ == s_.size()) return {Tok::End, {}};
        const char c = s_[i_];
        if (c == '(') return ++i_, Token{Tok::LParen, "("};
        if (c == ')') return ++i_, Token{Tok::RParen, ")"};
        if (c == ',') return ++i_, Token{Tok::Comma, ","};
        if (c == '\'') return Quoted();
        if (c == '#') return Until('#', Tok::DateLit, "a date closed by #");
        if (c == '[') return Until(']', Tok::Name, "a field name closed by ]");
        if (c == '<' || c == '>' || c == '=' || c == '!') return Operator();
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' ||
            ((c == '-' || c == '+') && i_ + 1 < s_.size() &&
             (std::isdigit(static_cast<unsigned char>(s_[i_ + 1])) || s_[i_ + 1] == '.')))
            return NumberToken();
        if (NameStart(c)) {
            const std::size_t start = i_;
            while (i_ < s_.size() && NamePart(s_[i_])) ++i_;
            const std::string word(s_.substr(start, i_ - start));
            const std::string upper = Upper(word);
            for (const char* keyword : {"AND", "OR", "NOT", "LIKE", "IS", "NULL", "TRUE", "FALSE", "ASC", "DESC"}) {
                if (upper == keyword) return {Tok::Word, upper};
            }
            return {Tok::Name, word};
        }
        Fail(std::string("unexpected character '") + c + "'");
    }

    Token Quoted() {
        std::string text;
        ++i_;
        for (;;) {
            if (i_ >= s_.size()) Fail("a text without its closing quote");
            if (s_[i_] == '\'') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                    text += '\'';
                    i_ += 2;
                    continue;
                }
                ++i_;
                return {Tok::Text, text};
            }
            text += s_[i_++];
        }
    }

    Token Until(char close, Tok kind, const char* what) {
        const std::size_t end = s_.find(close, i_ + 1);
        if (end == std::string_view::npos) Fail(std::string("expected ") + what);
        Token t{kind, std::string(s_.substr(i_ + 1, end - i_ - 1))};
        i_ = end + 1;
        return t;
    }

    Token Operator() {
        const std::string_view two = s_.substr(i_, 2);
        for (const char* op : {"<>", "<=", ">=", "!="}) {
            if (two == op) {
                i_ += 2;
                return {Tok::Op, two == "!=" ? "<>" : std::string(two)};
            }
        }
        if (s_[i_] == '!') Fail("'!' without '='");
        return {Tok::Op, std::string(1, s_[i_++])};
    }

    Token NumberToken() {
        const std::size_t start = i_;
        if (s_[i_] == '-' || s_[i_] == '+') ++i_;
        while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.' ||
                                  ((s_[i_] == '-' || s_[i_] == '+') && (s_[i_ - 1] == 'E' || s_[i_ - 1] == 'e'))))
            ++i_;
        return {Tok::Number, std::string(s_.substr(start, i_ - start))};
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

// #12/31/2024# (month first, as ADO reads it) or any form Date::Parse takes (#2024-12-31#).
Variant ParseDateLiteral(const std::string& text, const std::string& criteria) {
    int m = 0, d = 0, y = 0, hh = 0, mi = 0, ss = 0;
    try {
        if (text.find('/') != std::string::npos) {
            const int n = std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &m, &d, &y, &hh, &mi, &ss);
            if (n >= 3) return Variant(Date::FromParts(y, m, d, hh, mi, ss));
        } else {
            return Variant(Date::Parse(text));
        }
    } catch (const Error&) {
    }
    throw ado::ArgumentError("Invalid filter \"" + criteria + "\": #" + text + "# is not a date.");
}

Variant ParseNumberLiteral(const std::string& text, const std::string& criteria) {
    try {
        const Decimal d = Decimal::Parse(text);
        if (d.Scale() == 0) return Variant(static_cast<long long>(d.Unscaled()));
        return Variant(d);
    } catch (const Error& e) {
        if (e.Number() == errc::Overflow) return Variant(Variant(text).CDbl());
    }
    throw ado::ArgumentError("Invalid filter \"" + criteria + "\": " + text + " is not a number.");
}

struct Comparison : FilterExpression {
    long field = 0;
    std::string op;  // = <> < > <= >= LIKE
    bool negate = false;
    Variant literal;
    bool Matches(const ValueAt& row) const override {
        const Variant value = row(static_cast<std::size_t>(field));
        if (negate && op == "LIKE" && (value.IsNull() || value.IsEmpty())) return false;  // Null is like nothing
        return CompareForFilter(value, op, literal) != negate;
    }
};

struct Logical : FilterExpression {
    bool isAnd = true;
    std::shared_ptr<const FilterExpression> left, right;
    bool Matches(const ValueAt& row) const override {
        return isAnd ? (left->Matches(row) && right->Matches(row)) : (left->Matches(row) || right->Matches(row));
    }
};

struct Negation : FilterExpression {
    std::shared_ptr<const FilterExpression> inner;
    bool Matches(const ValueAt& row) const override { return !inner->Matches(row); }
};

class Parser {
public:
    Parser(std::string_view criteria, const FilterExpression::FieldLookup& lookup)
        : criteria_(criteria), tokens_(Lexer(criteria).All()), lookup_(lookup) {}

    std::shared_ptr<const FilterExpression> Criteria() {
        auto e = Or();
        if (Peek().kind != Tok::End) Fail("unexpected '" + Peek().text + "'");
        return e;
    }

    std::vector<SortKey> SortKeys() {
        std::vector<SortKey> keys;
        while (Peek().kind != Tok::End) {
            SortKey key;
            key.field = Field();
            if (IsWord("ASC") || IsWord("DESC")) key.descending = Take().text == "DESC";
            keys.push_back(key);
            if (Peek().kind == Tok::Comma) {
                Take();
                if (Peek().kind == Tok::End) Fail("a field name after ','");
            } else if (Peek().kind != Tok::End) {
                Fail("',' between sort fields");
            }
        }
        return keys;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ado::ArgumentError("Invalid filter \"" + criteria_ + "\": " + what + ".");
    }
    const Token& Peek() const { return tokens_[pos_]; }
    Token Take() { return tokens_[pos_ == tokens_.size() - 1 ? pos_ : pos_++]; }
    bool IsWord(const char* w) const { return Peek().kind == Tok::Word && Peek().text == w; }

    std::shared_ptr<const FilterExpression> Or() {
        auto left = And();
        while (IsWord("OR")) {
            Take();
            auto node = std::make_shared<Logical>();
            node->isAnd = false;
            node->left = left;
            node->right = And();
            left = node;
        }
        return left;
    }

    std::shared_ptr<const FilterExpression> And() {
        auto left = Factor();
        while (IsWord("AND")) {
            Take();
            auto node = std::make_shared<Logical>();
            node->left = left;
            node->right = Factor();
            left = node;
        }
        return left;
    }

    std::shared_ptr<const FilterExpression> Factor() {
        if (Peek().kind == Tok::LParen) {
            Take();
            auto inner = Or();
            if (Peek().kind != Tok::RParen) Fail("expected ')'");
            Take();
            return inner;
        }
        if (IsWord("NOT")) {
            Take();
            auto node = std::make_shared<Negation>();
            node->inner = Factor();
            return node;
        }
        return ComparisonOf(Field());
    }

    long Field() {
        if (Peek().kind != Tok::Name) Fail(Peek().kind == Tok::End ? "a field name is missing" : "expected a field name, found '" + Peek().text + "'");
        const std::string name = Take().text;
        const long index = lookup_(name);
        if (index < 0) {
            throw Error(errc::ItemNotFound,
                        StandardDescription(errc::ItemNotFound) + " (filter field '" + name + "')", ado::kSource);
        }
        return index;
    }

    std::shared_ptr<const FilterExpression> ComparisonOf(long field) {
        auto node = std::make_shared<Comparison>();
        node->field = field;
        if (IsWord("IS")) {
            Take();
            node->negate = IsWord("NOT");
            if (node->negate) Take();
            if (!IsWord("NULL")) Fail("expected NULL after IS");
            Take();
            node->op = "=";
            node->literal = Variant::Null();
            return node;
        }
        if (IsWord("NOT")) {
            Take();
            if (!IsWord("LIKE")) Fail("expected LIKE after NOT");
            node->negate = true;
        }
        if (IsWord("LIKE")) {
            Take();
            node->op = "LIKE";
        } else if (Peek().kind == Tok::Op) {
            node->op = Take().text;
        } else {
            Fail("expected a comparison operator after the field name");
        }
        node->literal = Value();
        if (node->op == "LIKE" && !node->literal.IsString()) Fail("LIKE needs a text in single quotes");
        return node;
    }

    Variant Value() {
        const Token t = Take();
        switch (t.kind) {
        case Tok::Text: return Variant(t.text);
        case Tok::Number: return ParseNumberLiteral(t.text, criteria_);
        case Tok::DateLit: return ParseDateLiteral(t.text, criteria_);
        case Tok::Word:
            if (t.text == "NULL") return Variant::Null();
            if (t.text == "TRUE") return Variant(true);
            if (t.text == "FALSE") return Variant(false);
            break;
        default: break;
        }
        Fail(t.kind == Tok::End ? "a value is missing at the end" : "expected a value, found '" + t.text + "'");
    }

    std::string criteria_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    const FilterExpression::FieldLookup& lookup_;
};

bool IsNumberType(const Variant& v) {
    switch (v.Type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Decimal: return true;
    default: return false;
    }
}

bool Holds(const std::string& op, int order) {
    if (op == "=") return order == 0;
    if (op == "<>") return order != 0;
    if (op == "<") return order < 0;
    if (op == ">") return order > 0;
    if (op == "<=") return order <= 0;
    return order >= 0;  // ">="
}

int FromOrdering(std::partial_ordering o, bool& ordered) {
    ordered = o != std::partial_ordering::unordered;
    return o == std::partial_ordering::less ? -1 : (o == std::partial_ordering::greater ? 1 : 0);
}

}  // namespace

std::shared_ptr<const FilterExpression> FilterExpression::Parse(std::string_view criteria, const FieldLookup& lookup) {
    return Parser(criteria, lookup).Criteria();
}

std::vector<SortKey> ParseSort(std::string_view text, const FilterExpression::FieldLookup& lookup) {
    return Parser(text, lookup).SortKeys();
}

bool CompareForFilter(const Variant& field, const std::string& op, const Variant& literal) {
    const bool fieldNull = field.IsNull() || field.IsEmpty();
    if (literal.IsNull()) return op == "=" ? fieldNull : (op == "<>" && !fieldNull);
    if (fieldNull) return false;
    if (op == "LIKE") return sqlite::LikeSqlServer(field.Text(), literal.Text());

    int order = 0;
    bool ordered = true;
    if (field.IsString() && literal.IsString()) {
        order = sqlite::CompareSqlServer(field.Text(), literal.Text());
    } else if (field.Type() == VarType::Boolean && (IsNumberType(literal) || literal.Type() == VarType::Boolean)) {
        // Flags: True matches 1 as the database stores it and -1 as VB writes it.
        const bool want = literal.CBool();
        if (op == "=" || op == "<>") return (field.CBool() == want) == (op == "=");
        order = (field.CBool() ? 1 : 0) - (want ? 1 : 0);
    } else if (field.Type() == VarType::Date || literal.Type() == VarType::Date) {
        try {
            const double a = field.CDate().serial, b = literal.CDate().serial;
            order = a < b ? -1 : (a > b ? 1 : 0);
        } catch (const Error&) {
            return false;  // a value that is no date does not meet a date criterion
        }
    } else {
        order = FromOrdering(field.Compare(literal), ordered);
        if (!ordered) return false;
    }
    return Holds(op, order);
}

bool SortsBefore(const FilterExpression::ValueAt& a, const FilterExpression::ValueAt& b,
                 const std::vector<SortKey>& keys) {
    for (const SortKey& key : keys) {
        const Variant x = a(static_cast<std::size_t>(key.field));
        const Variant y = b(static_cast<std::size_t>(key.field));
        const bool xNull = x.IsNull() || x.IsEmpty(), yNull = y.IsNull() || y.IsEmpty();
        int order = 0;
        if (xNull || yNull) {
            order = xNull == yNull ? 0 : (xNull ? -1 : 1);
        } else if (x.IsString() && y.IsString()) {
            order = sqlite::CompareSqlServer(x.Text(), y.Text());
        } else {
            bool ordered = true;
            order = FromOrdering(x.Compare(y), ordered);
        }
        if (order != 0) return key.descending ? order > 0 : order < 0;
    }
    return false;
}

}  // namespace db
