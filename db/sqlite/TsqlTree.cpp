#include "db/sqlite/TsqlTree.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "db/sqlite/TsqlTranslator.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

bool Node::IsWord(std::string_view word) const { return IsLeaf(TokenKind::Word) && EqualsNoCase(token.text, word); }

Node Leaf(TokenKind kind, std::string text) {
    Node n;
    n.token = Token{kind, std::move(text)};
    return n;
}

Node Word(std::string text) { return Leaf(TokenKind::Word, std::move(text)); }

Node Paren(Nodes items, YieldKind value) {
    Node n;
    n.kind = Node::Kind::Paren;
    n.items = std::move(items);
    n.value = value;
    return n;
}

namespace {

constexpr std::array kKeywords = {
    "ALL",     "AND",    "ANY",       "APPLY",   "AS",      "ASC",     "BEGIN",    "BETWEEN", "BY",       "CASE",
    "COLLATE", "CREATE", "CROSS",     "DECLARE", "DEFAULT", "DELETE",  "DESC",     "DISTINCT", "DROP",    "ELSE",
    "END",     "ESCAPE", "EXCEPT",    "EXEC",    "EXECUTE", "EXISTS",  "FETCH",    "FOR",     "FROM",     "FULL",
    "GLOB",    "GROUP",  "HAVING",    "IF",      "IN",      "INNER",   "INSERT",   "INTERSECT", "INTO",   "IS",
    "JOIN",    "LEFT",   "LIKE",      "LIMIT",   "MERGE",   "NATURAL", "NOT",      "OFFSET",  "ON",       "OPTION",
    "OR",      "ORDER",  "OUTER",     "OUTPUT",  "OVER",    "PARTITION", "PERCENT", "PIVOT",  "RIGHT",    "SELECT",
    "SET",     "SOME",   "TABLE",     "THEN",    "TIES",    "TOP",     "TRUNCATE", "UNION",   "UNPIVOT",  "UPDATE",
    "USING",   "VALUES", "WHEN",      "WHERE",   "WITH",
};

class TreeBuilder {
public:
    explicit TreeBuilder(const std::vector<Token>& t) : t_(t) {}

    Nodes Run() {
        Nodes out = Level(Stop::End);
        return out;
    }

private:
    enum class Stop { End, RParen, CaseEnd };

    bool IsWordAt(size_t i, std::string_view w) const {
        return i < t_.size() && t_[i].kind == TokenKind::Word && EqualsNoCase(t_[i].text, w);
    }

    Nodes Level(Stop stop) {
        Nodes out;
        while (p_ < t_.size()) {
            const Token& tok = t_[p_];
            if (tok.kind == TokenKind::RParen) {
                if (stop != Stop::RParen) ThrowUnsupported("unbalanced parenthesis");
                ++p_;
                return out;
            }
            if (IsWordAt(p_, "END")) {
                if (stop != Stop::CaseEnd) ThrowUnsupported("END without CASE");
                ++p_;
                return out;
            }
            if (IsWordAt(p_, "BEGIN")) {
                if (IsWordAt(p_ + 1, "TRY")) ThrowUnsupported("BEGIN TRY ... END CATCH");
                if (IsWordAt(p_ + 1, "TRAN") || IsWordAt(p_ + 1, "TRANSACTION")) ThrowUnsupported("BEGIN TRANSACTION");
                ThrowUnsupported("BEGIN ... END block");
            }
            ++p_;
            if (tok.kind == TokenKind::LParen) {
                out.push_back(Paren(Level(Stop::RParen)));
            } else if (tok.kind == TokenKind::Word && EqualsNoCase(tok.text, "CASE")) {
                Node n;
                n.kind = Node::Kind::Case;
                n.items = Level(Stop::CaseEnd);
                out.push_back(std::move(n));
            } else {
                Node n;
                n.token = tok;
                out.push_back(std::move(n));
            }
        }
        if (stop == Stop::RParen) ThrowUnsupported("unbalanced parenthesis");
        if (stop == Stop::CaseEnd) ThrowUnsupported("CASE without END");
        return out;
    }

    const std::vector<Token>& t_;
    size_t p_ = 0;
};

void Flatten(const Nodes& nodes, std::vector<Token>& out) {
    for (const Node& n : nodes) {
        switch (n.kind) {
        case Node::Kind::Leaf: out.push_back(n.token); break;
        case Node::Kind::Paren:
            out.push_back({TokenKind::LParen, "("});
            Flatten(n.items, out);
            out.push_back({TokenKind::RParen, ")"});
            break;
        case Node::Kind::Case:
            out.push_back({TokenKind::Word, "CASE"});
            Flatten(n.items, out);
            out.push_back({TokenKind::Word, "END"});
            break;
        }
    }
}

bool IsKeywordText(std::string_view w) {
    return std::any_of(kKeywords.begin(), kKeywords.end(), [&](const char* k) { return EqualsNoCase(w, k); });
}

bool IsBareIdentifier(std::string_view s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
    });
}

std::string Doubled(std::string_view s, char quote) {
    std::string out;
    out += quote;
    for (char c : s) {
        out += c;
        if (c == quote) out += quote;
    }
    out += quote;
    return out;
}

std::string TokenText(const Token& t) {
    switch (t.kind) {
    case TokenKind::String: return Doubled(t.text, '\'');
    case TokenKind::QuotedName: return Doubled(t.text, '"');
    // Every connection has its own database of temporary tables: the global ##NAME of SQL Server becomes a
    // table only this connection sees, so two users building a list no longer overwrite each other's rows.
    case TokenKind::TempName:
        return std::string(kTempTablesSchema) + "." + (IsBareIdentifier(t.text) ? t.text : Doubled(t.text, '"'));
    default: return t.text;
    }
}

bool StartsOperand(const Token* prev) {
    if (prev == nullptr) return true;
    switch (prev->kind) {
    case TokenKind::Operator:
    case TokenKind::LParen:
    case TokenKind::Comma:
    case TokenKind::Semicolon: return true;
    // After END an operator is binary: CASE ... END - 1.
    case TokenKind::Word: return IsKeywordText(prev->text) && !EqualsNoCase(prev->text, "END");
    default: return false;
    }
}

}  // namespace

Nodes BuildTree(const std::vector<Token>& tokens) { return TreeBuilder(tokens).Run(); }

Nodes ParseSnippet(std::string_view sql) { return BuildTree(LexTsql(sql)); }

std::string Emit(const Nodes& nodes) {
    std::vector<Token> toks;
    Flatten(nodes, toks);
    std::string out;
    const Token* prev = nullptr;
    bool prevUnary = false;
    for (size_t i = 0; i < toks.size(); ++i) {
        const Token& t = toks[i];
        bool space = prev != nullptr;
        if (t.kind == TokenKind::RParen || t.kind == TokenKind::Comma || t.kind == TokenKind::Dot ||
            t.kind == TokenKind::Semicolon)
            space = false;
        if (prev && (prev->kind == TokenKind::LParen || prev->kind == TokenKind::Dot)) space = false;
        if (prev && t.kind == TokenKind::LParen &&
            (prev->kind == TokenKind::QuotedName || (prev->kind == TokenKind::Word && !IsKeywordText(prev->text))))
            space = false;
        if (prevUnary) space = false;
        if (space) out += ' ';
        out += TokenText(t);
        prevUnary = t.kind == TokenKind::Operator && (t.text == "-" || t.text == "+" || t.text == "~") &&
                    StartsOperand(prev);
        prev = &toks[i];
    }
    return out;
}

bool IsKeyword(const Node& n) { return n.IsLeaf(TokenKind::Word) && IsKeywordText(n.token.text); }

bool IsNameNode(const Node& n) {
    return (n.IsLeaf(TokenKind::Word) && !IsKeyword(n)) || n.IsLeaf(TokenKind::QuotedName) ||
           n.IsLeaf(TokenKind::TempName);
}

size_t NameEnd(const Nodes& n, size_t from) {
    if (from >= n.size() || !IsNameNode(n[from])) return from;
    size_t k = from + 1;
    while (k + 1 < n.size() && n[k].IsLeaf(TokenKind::Dot) && IsNameNode(n[k + 1])) k += 2;
    return k;
}

bool IsQueryGroup(const Node& n) {
    return n.IsParen() && !n.items.empty() && (n.items[0].IsWord("SELECT") || n.items[0].IsWord("WITH"));
}

size_t FindWord(const Nodes& nodes, std::string_view word, size_t from) {
    for (size_t i = from; i < nodes.size(); ++i)
        if (nodes[i].IsWord(word)) return i;
    return std::string::npos;
}

std::vector<Nodes> SplitCommas(const Nodes& nodes) {
    std::vector<Nodes> parts(1);
    for (const Node& n : nodes) {
        if (n.IsLeaf(TokenKind::Comma))
            parts.emplace_back();
        else
            parts.back().push_back(n);
    }
    return parts;
}

Nodes JoinCommas(const std::vector<Nodes>& parts) {
    Nodes out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out.push_back(Leaf(TokenKind::Comma, ","));
        Append(out, parts[i]);
    }
    return out;
}

Nodes Slice(const Nodes& nodes, size_t from, size_t to) {
    from = std::min(from, nodes.size());
    to = std::min(to, nodes.size());
    if (from >= to) return {};
    return Nodes(nodes.begin() + static_cast<long>(from), nodes.begin() + static_cast<long>(to));
}

void Append(Nodes& to, const Nodes& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace db::sqlite
