// Queries: SELECT TOP n -> LIMIT n, SELECT ... INTO X -> CREATE TABLE X AS SELECT, "alias = expr".
#include <array>

#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

bool IsSetOperator(const Node& n) { return n.IsWord("UNION") || n.IsWord("EXCEPT") || n.IsWord("INTERSECT"); }

bool EndsSelectList(const Node& n) {
    static constexpr std::array words = {"INTO", "FROM", "WHERE", "GROUP", "HAVING", "ORDER", "LIMIT", "FOR", "OPTION"};
    for (const char* w : words)
        if (n.IsWord(w)) return true;
    return false;
}

// T-SQL's "alias = expression" in a select list; SQLite would read it as a comparison.
Nodes AliasAssignments(const Nodes& list) {
    std::vector<Nodes> items = SplitCommas(list);
    for (Nodes& item : items) {
        const bool named = item.size() >= 3 && item[1].IsOperator("=") &&
                           ((item[0].IsLeaf(TokenKind::Word) && !IsKeyword(item[0])) ||
                            item[0].IsLeaf(TokenKind::QuotedName) || item[0].IsLeaf(TokenKind::String));
        if (!named) continue;
        Nodes rewritten = Slice(item, 2, item.size());
        rewritten.push_back(Word("AS"));
        rewritten.push_back(item[0].IsLeaf(TokenKind::String) ? Leaf(TokenKind::QuotedName, item[0].token.text) : item[0]);
        item = rewritten;
    }
    return JoinCommas(items);
}

struct Core {
    Nodes nodes;
    Nodes limit;  // the TOP value, moved to a LIMIT clause
    Nodes into;   // the table of SELECT ... INTO
};

Core StructureCore(const Nodes& raw, bool first) {
    Core c;
    if (raw.empty()) ThrowUnsupported("empty SELECT");
    if (!raw[0].IsWord("SELECT")) {  // a parenthesised member or a VALUES list: as written
        c.nodes = raw;
        return c;
    }
    Nodes n = raw;
    size_t k = 1;
    if (k < n.size() && (n[k].IsWord("DISTINCT") || n[k].IsWord("ALL"))) ++k;
    if (k < n.size() && n[k].IsWord("TOP")) {
        if (k + 1 >= n.size() || !(n[k + 1].IsLeaf(TokenKind::Number) || n[k + 1].IsParen()))
            ThrowUnsupported("TOP without a number");
        if (k + 2 < n.size() && n[k + 2].IsWord("PERCENT")) ThrowUnsupported("TOP PERCENT");
        if (k + 3 < n.size() && n[k + 2].IsWord("WITH") && n[k + 3].IsWord("TIES")) ThrowUnsupported("TOP WITH TIES");
        c.limit = {n[k + 1]};
        n.erase(n.begin() + static_cast<long>(k), n.begin() + static_cast<long>(k) + 2);
    }
    size_t end = k;
    while (end < n.size() && !EndsSelectList(n[end])) ++end;
    if (end < n.size() && n[end].IsWord("INTO")) {
        if (!first) ThrowUnsupported("SELECT INTO in a later member of a UNION");
        const size_t nameEnd = NameEnd(n, end + 1);
        if (nameEnd == end + 1) ThrowUnsupported("SELECT INTO without a table name");
        c.into = Slice(n, end + 1, nameEnd);
        n.erase(n.begin() + static_cast<long>(end), n.begin() + static_cast<long>(nameEnd));
    }
    c.nodes = Slice(n, 0, k);
    Append(c.nodes, AliasAssignments(Slice(n, k, end)));
    Append(c.nodes, Slice(n, end, n.size()));
    return c;
}

Nodes WithLimit(Nodes nodes, const Nodes& limit) {
    if (limit.empty()) return nodes;
    nodes.push_back(Word("LIMIT"));
    Append(nodes, limit);
    return nodes;
}

Nodes StructureQuery(const Nodes& items) {
    const size_t headLength = CteHeadLength(items);
    const Nodes head = Slice(items, 0, headLength);
    const Nodes body = Slice(items, headLength, items.size());
    if (body.empty()) ThrowUnsupported("WITH without a query");

    std::vector<Nodes> members(1);
    std::vector<Nodes> setOps;
    for (size_t i = 0; i < body.size(); ++i) {
        if (!IsSetOperator(body[i])) {
            members.back().push_back(body[i]);
            continue;
        }
        Nodes op{body[i]};
        if (i + 1 < body.size() && body[i + 1].IsWord("ALL")) op.push_back(body[++i]);
        setOps.push_back(op);
        members.emplace_back();
    }
    // ORDER BY and LIMIT after the last member belong to the whole query.
    Nodes& last = members.back();
    size_t tailStart = last.size();
    for (size_t i = 0; i < last.size(); ++i) {
        if ((last[i].IsWord("ORDER") && i + 1 < last.size() && last[i + 1].IsWord("BY")) || last[i].IsWord("LIMIT")) {
            tailStart = i;
            break;
        }
    }
    const Nodes tail = Slice(last, tailStart, last.size());
    last.resize(tailStart);

    std::vector<Core> cores;
    for (size_t i = 0; i < members.size(); ++i) cores.push_back(StructureCore(members[i], i == 0));

    Nodes out;
    if (!cores[0].into.empty()) {
        out = {Word("CREATE"), Word("TABLE")};
        Append(out, cores[0].into);
        out.push_back(Word("AS"));
    }
    Append(out, head);
    if (cores.size() == 1) {
        Append(out, cores[0].nodes);
        Append(out, WithLimit(tail, cores[0].limit));
        return out;
    }
    // In a UNION, TOP limits its own member only.
    for (size_t i = 0; i < cores.size(); ++i) {
        if (i > 0) Append(out, setOps[i - 1]);
        if (cores[i].limit.empty()) {
            Append(out, cores[i].nodes);
        } else {
            Append(out, {Word("SELECT"), Leaf(TokenKind::Operator, "*"), Word("FROM")});
            out.push_back(Paren(WithLimit(cores[i].nodes, cores[i].limit)));
        }
    }
    Append(out, tail);
    return out;
}

}  // namespace

size_t CteHeadLength(const Nodes& items) {
    if (items.empty() || !items[0].IsWord("WITH")) return 0;
    size_t k = 1;
    for (;;) {
        if (k < items.size() && items[k].IsWord("XMLNAMESPACES")) ThrowUnsupported("WITH XMLNAMESPACES");
        if (k >= items.size() || !IsNameNode(items[k])) ThrowUnsupported("WITH clause");
        ++k;
        if (k + 1 < items.size() && items[k].IsParen() && items[k + 1].IsWord("AS")) ++k;  // column list
        if (k + 1 >= items.size() || !items[k].IsWord("AS") || !items[k + 1].IsParen())
            ThrowUnsupported("WITH clause");
        k += 2;
        if (k < items.size() && items[k].IsLeaf(TokenKind::Comma)) {
            ++k;
            continue;
        }
        return k;
    }
}

Nodes RewriteQuery(const Nodes& items) { return RewriteSequence(StructureQuery(items)); }

}  // namespace db::sqlite
