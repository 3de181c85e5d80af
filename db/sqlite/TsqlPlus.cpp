// "+" adds numbers and concatenates text in T-SQL; SQLite has + and || for the two. The statement
// text does not tell the types of columns, so each "+" is decided from its operands: || when both are
// known to be text, + when one is known to be a number (SQL Server then converts the other side to a
// number as well), and otherwise the function tsql_add, which decides per row (TsqlSqlFunctions.h).
#include <algorithm>
#include <array>

#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

constexpr std::array kTextFunctions = {"UPPER", "LOWER", "LTRIM", "RTRIM", "TRIM",   "REPLACE", "CHAR",
                                       "NCHAR", "SUBSTR", "GROUP_CONCAT", "PRINTF", "HEX", "QUOTE"};
constexpr std::array kNumberFunctions = {"ABS", "ROUND", "COUNT", "LENGTH", "INSTR", "SIGN", "UNICODE"};

bool IsUnary(const Node& n) { return n.IsOperator("-") || n.IsOperator("+") || n.IsOperator("~"); }

bool IsArithmetic(const Node& n) {
    static constexpr std::array ops = {"+", "-", "*", "/", "%", "&", "|", "^", "||"};
    return n.IsLeaf(TokenKind::Operator) &&
           std::any_of(ops.begin(), ops.end(), [&](const char* op) { return n.token.text == op; });
}

bool IsMultiplicative(const Node& n) { return n.IsOperator("*") || n.IsOperator("/") || n.IsOperator("%"); }
bool IsBitwise(const Node& n) { return n.IsOperator("&") || n.IsOperator("|") || n.IsOperator("^"); }

// End of one operand (unary signs, then a literal, name, call, group or CASE); `from` when none.
size_t OperandEnd(const Nodes& n, size_t from) {
    size_t k = from;
    while (k < n.size() && IsUnary(n[k])) ++k;
    if (k >= n.size()) return from;
    const Node& p = n[k];
    if (p.kind != Node::Kind::Leaf || p.IsLeaf(TokenKind::String) || p.IsLeaf(TokenKind::Number) || p.IsWord("NULL") ||
        p.IsLeaf(TokenKind::Placeholder))
        return k + 1;
    if (p.IsOperator("*")) return k == from ? k + 1 : from;  // SELECT *, COUNT(*)
    if (IsCallAt(n, k)) return k + 2;
    if (!IsNameNode(p)) return from;
    ++k;
    while (k + 1 < n.size() && n[k].IsLeaf(TokenKind::Dot)) {
        const Node& part = n[k + 1];
        if (part.IsOperator("*")) return k + 2;  // T.*
        if (!IsNameNode(part) && !part.IsLeaf(TokenKind::Word)) break;
        k += 2;
    }
    if (k < n.size() && n[k].IsParen() && n[k - 1].IsLeaf(TokenKind::Word)) ++k;  // schema.function(...)
    return k;
}

struct Operands {
    std::vector<std::pair<size_t, size_t>> ranges;
    std::vector<const Node*> ops;  // ops[i] stands between ranges[i] and ranges[i + 1]
};

Operands SplitOperands(const Nodes& n, size_t from, size_t to) {
    Operands r;
    size_t k = from;
    for (;;) {
        const size_t end = OperandEnd(n, k);
        r.ranges.emplace_back(k, end);
        if (end >= to) break;
        r.ops.push_back(&n[end]);
        k = end + 1;
    }
    return r;
}

YieldKind FunctionKind(const Node& name) {
    if (name.value != YieldKind::Unknown) return name.value;
    const std::string up = Upper(name.token.text);
    if (std::find(kTextFunctions.begin(), kTextFunctions.end(), up) != kTextFunctions.end()) return YieldKind::Text;
    if (std::find(kNumberFunctions.begin(), kNumberFunctions.end(), up) != kNumberFunctions.end())
        return YieldKind::Number;
    return YieldKind::Unknown;
}

enum class PlusForm { Concat, Add, Call };

PlusForm Decide(YieldKind a, YieldKind b) {
    if (a == YieldKind::Number || b == YieldKind::Number) return PlusForm::Add;
    const bool aText = a == YieldKind::Text || a == YieldKind::Null;
    const bool bText = b == YieldKind::Text || b == YieldKind::Null;
    if (aText && bText) return (a == YieldKind::Null && b == YieldKind::Null) ? PlusForm::Add : PlusForm::Concat;
    return PlusForm::Call;
}

// An operand or a partial result while folding one expression.
struct Term {
    Nodes nodes;
    YieldKind kind = YieldKind::Unknown;
    enum class Shape { Atom, Product, Sum, Bitwise } shape = Shape::Atom;

    Nodes Wrapped() const { return shape == Shape::Atom ? nodes : Nodes{Paren(nodes)}; }
};

Term Combine(const Term& acc, const Node& op, const Term& t) {
    Term r;
    const std::string& o = op.token.text;
    if (acc.kind == YieldKind::Date || t.kind == YieldKind::Date) ThrowUnsupported("date arithmetic with " + o);
    const PlusForm form = o == "||" ? PlusForm::Concat : o == "+" ? Decide(acc.kind, t.kind) : PlusForm::Add;
    switch (form) {
    case PlusForm::Concat:
        r.nodes = acc.Wrapped();
        r.nodes.push_back(Leaf(TokenKind::Operator, "||"));
        Append(r.nodes, t.Wrapped());
        r.nodes = Nodes{Paren(r.nodes, YieldKind::Text)};
        r.kind = YieldKind::Text;
        return r;
    case PlusForm::Call: {
        Nodes args = acc.nodes;
        args.push_back(Leaf(TokenKind::Comma, ","));
        Append(args, t.nodes);
        Node name = Word("tsql_add");
        r.nodes = Nodes{name, Paren(args)};
        return r;
    }
    case PlusForm::Add: break;
    }
    // SQL Server ranks + - & | ^ alike, SQLite binds + - tighter than the bitwise operators.
    const bool bitwise = IsBitwise(op);
    const bool wrapAcc = (acc.shape == Term::Shape::Bitwise && !bitwise) || (acc.shape == Term::Shape::Sum && bitwise);
    r.nodes = wrapAcc ? acc.Wrapped() : acc.nodes;
    r.nodes.push_back(op);
    Append(r.nodes, t.shape == Term::Shape::Atom || t.shape == Term::Shape::Product ? t.nodes : t.Wrapped());
    r.kind = YieldKind::Number;
    r.shape = bitwise ? Term::Shape::Bitwise : Term::Shape::Sum;
    return r;
}

Nodes Fold(const Nodes& n, size_t from, size_t to) {
    const Operands parts = SplitOperands(n, from, to);
    // SQL Server adds days to a date with + and -; the date is text here.
    for (size_t i = 0; i < parts.ranges.size() && !parts.ops.empty(); ++i) {
        if (KindOf(n, parts.ranges[i].first, parts.ranges[i].second) == YieldKind::Date)
            ThrowUnsupported("date arithmetic with " + parts.ops[i == 0 ? 0 : i - 1]->token.text);
    }
    const bool hasPlus = std::any_of(parts.ops.begin(), parts.ops.end(), [](const Node* op) { return op->IsOperator("+"); });
    if (!hasPlus) return Slice(n, from, to);

    // Products first: they bind tighter than + in both dialects.
    std::vector<Term> terms;
    std::vector<const Node*> joins;
    for (size_t i = 0; i < parts.ranges.size(); ++i) {
        const auto [s, e] = parts.ranges[i];
        if (i > 0 && IsMultiplicative(*parts.ops[i - 1])) {
            Term& t = terms.back();
            t.nodes.push_back(*parts.ops[i - 1]);
            Append(t.nodes, Slice(n, s, e));
            t.kind = YieldKind::Number;
            t.shape = Term::Shape::Product;
            continue;
        }
        if (i > 0) joins.push_back(parts.ops[i - 1]);
        terms.push_back(Term{Slice(n, s, e), KindOf(n, s, e), Term::Shape::Atom});
    }
    Term acc = terms[0];
    for (size_t i = 1; i < terms.size(); ++i) acc = Combine(acc, *joins[i - 1], terms[i]);
    return acc.nodes;
}

YieldKind ExpressionKind(const Nodes& items) {
    if (items.empty() || ExpressionEnd(items, 0) != items.size()) return YieldKind::Unknown;
    const Operands parts = SplitOperands(items, 0, items.size());
    if (parts.ops.empty()) return KindOf(items, 0, items.size());
    YieldKind acc = KindOf(items, parts.ranges[0].first, parts.ranges[0].second);
    for (size_t i = 0; i < parts.ops.size(); ++i) {
        const Node& op = *parts.ops[i];
        const YieldKind next = KindOf(items, parts.ranges[i + 1].first, parts.ranges[i + 1].second);
        if (op.IsOperator("||"))
            acc = YieldKind::Text;
        else if (!op.IsOperator("+"))
            acc = YieldKind::Number;
        else
            acc = Decide(acc, next) == PlusForm::Concat ? YieldKind::Text
                  : Decide(acc, next) == PlusForm::Add  ? YieldKind::Number
                                                        : YieldKind::Unknown;
    }
    return acc;
}

}  // namespace

size_t ExpressionEnd(const Nodes& n, size_t from) {
    size_t k = OperandEnd(n, from);
    if (k == from) return from;
    while (k < n.size() && IsArithmetic(n[k])) {
        const size_t next = OperandEnd(n, k + 1);
        if (next == k + 1) break;
        k = next;
    }
    return k;
}

YieldKind KindOf(const Nodes& n, size_t from, size_t to) {
    if (from >= to) return YieldKind::Unknown;
    if (IsUnary(n[from])) return YieldKind::Number;
    const Node& first = n[from];
    if (to - from == 1) {
        if (first.value != YieldKind::Unknown) return first.value;
        if (first.IsLeaf(TokenKind::String)) return YieldKind::Text;
        if (first.IsLeaf(TokenKind::Number)) return YieldKind::Number;
        if (first.IsWord("NULL")) return YieldKind::Null;
        if (first.IsParen() && !IsQueryGroup(first)) return ExpressionKind(first.items);
        return YieldKind::Unknown;
    }
    if (to - from == 2 && IsCallAt(n, from)) return FunctionKind(first);
    return YieldKind::Unknown;
}

Nodes RewritePlus(const Nodes& in) {
    Nodes out;
    for (size_t i = 0; i < in.size();) {
        const size_t end = ExpressionEnd(in, i);
        if (end == i) {
            out.push_back(in[i]);
            ++i;
            continue;
        }
        Append(out, Fold(in, i, end));
        i = end;
    }
    return out;
}

}  // namespace db::sqlite
