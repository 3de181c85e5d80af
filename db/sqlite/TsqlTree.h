#pragma once
// Token tree of one statement: parentheses and CASE ... END become single nodes holding their
// contents, so every rewriting step sees the clauses of one nesting level side by side and treats a
// subquery or a CASE expression as one operand. Emit turns a tree back into SQLite text.
#include <string>
#include <string_view>
#include <vector>

#include "db/sqlite/TsqlLexer.h"

namespace db::sqlite {

// What an expression node is known to yield; decides how "+" is translated.
enum class YieldKind { Unknown, Text, Number, Date, Null };

struct Node {
    enum class Kind { Leaf, Paren, Case };
    Kind kind = Kind::Leaf;
    Token token{TokenKind::Word, {}};  // Leaf only
    std::vector<Node> items;            // Paren: the contents; Case: the contents between CASE and END
    YieldKind value = YieldKind::Unknown;  // set on nodes the adapter builds itself

    bool IsLeaf(TokenKind k) const { return kind == Kind::Leaf && token.kind == k; }
    // Unquoted word, compared case-insensitively.
    bool IsWord(std::string_view word) const;
    bool IsOperator(std::string_view op) const { return IsLeaf(TokenKind::Operator) && token.text == op; }
    bool IsParen() const { return kind == Kind::Paren; }
};

using Nodes = std::vector<Node>;

Node Leaf(TokenKind kind, std::string text);
Node Word(std::string text);
Node Paren(Nodes items, YieldKind value = YieldKind::Unknown);

// Throws db::Error for unbalanced parentheses or CASE without END.
Nodes BuildTree(const std::vector<Token>& tokens);

// A piece of SQL written by the adapter itself, as nodes.
Nodes ParseSnippet(std::string_view sql);

// SQLite text with normalised spacing: one blank between tokens, none inside parentheses, before
// commas, around dots or between a function name and its argument list.
std::string Emit(const Nodes& nodes);

std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Words that never name a column or function: they separate clauses and operands.
bool IsKeyword(const Node& n);
// A name part: unquoted non-keyword word, quoted name or temporary name.
bool IsNameNode(const Node& n);
// End of a possibly qualified name (a.b.c) starting at `from`; `from` when none starts there.
size_t NameEnd(const Nodes& nodes, size_t from);
// A parenthesised query: (SELECT ...) or (WITH ...).
bool IsQueryGroup(const Node& n);

// Index of the first node at this level that is the word, from `from`; npos when none.
size_t FindWord(const Nodes& nodes, std::string_view word, size_t from = 0);
// The nodes split at commas of this level.
std::vector<Nodes> SplitCommas(const Nodes& nodes);
Nodes JoinCommas(const std::vector<Nodes>& parts);
Nodes Slice(const Nodes& nodes, size_t from, size_t to);
void Append(Nodes& to, const Nodes& from);

}  // namespace db::sqlite
