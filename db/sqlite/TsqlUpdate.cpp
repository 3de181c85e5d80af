// UPDATE T SET ... FROM T INNER JOIN U ON c WHERE w (SQL Server) -> UPDATE T SET ... FROM U WHERE (c) AND (w).
// SQLite's UPDATE-FROM joins the target with the FROM list itself, so the target must leave that list;
// and since ON clauses there cannot see the target, inner joins become plain list items with their
// conditions moved to the WHERE clause - the same rows for inner joins.
#include <algorithm>

#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

// Compares names the way SQL Server does (case-insensitively); #T and T are different tables.
std::string NameKey(const Node& n) { return (n.IsLeaf(TokenKind::TempName) ? "#" : "") + Upper(n.token.text); }

enum class Join { First, Inner, Left, Right, Full };

struct FromItem {
    Join join = Join::First;
    Nodes factor;  // table name, derived table or table function
    Nodes alias;   // [AS] name, as written
    std::string tableKey;  // of a plain table
    std::string aliasKey;
    Nodes on;
};

bool StartsJoin(const Nodes& n, size_t k) {
    const Node& x = n[k];
    return x.IsLeaf(TokenKind::Comma) || x.IsWord("INNER") || x.IsWord("JOIN") || x.IsWord("LEFT") ||
           x.IsWord("RIGHT") || x.IsWord("FULL") || x.IsWord("CROSS") || x.IsWord("OUTER") || x.IsWord("NATURAL");
}

// Reads the join operator at k; returns the index after it.
size_t ReadJoin(const Nodes& n, size_t k, Join& join) {
    auto word = [&](size_t i, const char* w) { return i < n.size() && n[i].IsWord(w); };
    if (n[k].IsLeaf(TokenKind::Comma)) {
        join = Join::Inner;
        return k + 1;
    }
    if (word(k, "CROSS") && word(k + 1, "APPLY")) ThrowUnsupported("CROSS APPLY");
    if (word(k, "OUTER") && word(k + 1, "APPLY")) ThrowUnsupported("OUTER APPLY");
    size_t i = k;
    if (word(i, "INNER") || word(i, "CROSS")) {
        join = Join::Inner;
        ++i;
    } else if (word(i, "LEFT") || word(i, "RIGHT") || word(i, "FULL")) {
        join = word(i, "LEFT") ? Join::Left : word(i, "RIGHT") ? Join::Right : Join::Full;
        ++i;
        if (word(i, "OUTER")) ++i;
    } else {
        join = Join::Inner;
    }
    if (!word(i, "JOIN")) ThrowUnsupported("UPDATE ... FROM clause near " + Emit(Slice(n, k, i + 1)));
    return i + 1;
}

std::vector<FromItem> ParseFrom(const Nodes& n) {
    std::vector<FromItem> items;
    size_t k = 0;
    Join join = Join::First;
    while (k < n.size()) {
        FromItem item;
        item.join = join;
        const size_t nameEnd = NameEnd(n, k);
        if (nameEnd > k) {
            item.factor = Slice(n, k, nameEnd);
            item.tableKey = NameKey(n[nameEnd - 1]);
            k = nameEnd;
            if (k < n.size() && n[k].IsParen()) {  // table-valued function
                item.factor.push_back(n[k++]);
                item.tableKey.clear();
            }
        } else if (n[k].IsParen()) {
            item.factor = {n[k++]};
        } else {
            ThrowUnsupported("UPDATE ... FROM clause near " + Emit({n[k]}));
        }
        if (k < n.size() && n[k].IsWord("AS")) item.alias.push_back(n[k++]);
        if (k < n.size() && IsNameNode(n[k]) && !n[k].IsLeaf(TokenKind::TempName)) {
            item.aliasKey = NameKey(n[k]);
            item.alias.push_back(n[k++]);
        } else if (!item.alias.empty()) {
            ThrowUnsupported("UPDATE ... FROM clause: AS without an alias");
        }
        if (k < n.size() && n[k].IsWord("ON")) {
            const size_t start = ++k;
            while (k < n.size() && !StartsJoin(n, k)) ++k;
            item.on = Slice(n, start, k);
        }
        items.push_back(item);
        if (k < n.size()) k = ReadJoin(n, k, join);
    }
    return items;
}

// SET a = x, T.b = y: SQLite names the column alone on the left.
Nodes Assignments(const Nodes& list) {
    std::vector<Nodes> parts = SplitCommas(list);
    for (Nodes& p : parts) {
        size_t eq = 0;
        while (eq < p.size() && !p[eq].IsOperator("=")) {
            const Node& x = p[eq];
            if (x.IsLeaf(TokenKind::Variable)) ThrowUnsupported("variable " + x.token.text);
            if (x.IsLeaf(TokenKind::Operator) && x.token.text.size() == 2 && x.token.text[1] == '=')
                ThrowUnsupported("compound assignment " + x.token.text);
            ++eq;
        }
        if (eq == 0 || eq == p.size() || NameEnd(p, 0) != eq) ThrowUnsupported("UPDATE assignment " + Emit(p));
        p.erase(p.begin(), p.begin() + static_cast<long>(eq) - 1);
    }
    return JoinCommas(parts);
}

void AddCondition(Nodes& where, const Nodes& condition) {
    if (!where.empty()) where.push_back(Word("AND"));
    where.push_back(Paren(condition));
}

}  // namespace

Nodes StructureUpdate(const Nodes& n) {
    size_t k = 1;
    if (k < n.size() && n[k].IsWord("TOP")) ThrowUnsupported("UPDATE TOP");
    const size_t targetEnd = NameEnd(n, k);
    if (targetEnd == k) ThrowUnsupported("UPDATE without a table name");
    const Nodes target = Slice(n, k, targetEnd);
    k = targetEnd;
    if (k >= n.size() || !n[k].IsWord("SET")) ThrowUnsupported("UPDATE without SET");
    const size_t from = FindWord(n, "FROM", k + 1);
    const size_t where = FindWord(n, "WHERE", k + 1);
    const Nodes set = Assignments(Slice(n, k + 1, std::min(from, where)));
    const Nodes fromList = from == std::string::npos ? Nodes{} : Slice(n, from + 1, where);
    const Nodes whereCond = where == std::string::npos ? Nodes{} : Slice(n, where + 1, n.size());
    if (!whereCond.empty() && whereCond[0].IsWord("CURRENT")) ThrowUnsupported("WHERE CURRENT OF");

    Nodes out{Word("UPDATE")};
    if (fromList.empty()) {
        Append(out, target);
        out.push_back(Word("SET"));
        Append(out, set);
        if (where != std::string::npos) {
            out.push_back(Word("WHERE"));
            Append(out, whereCond);
        }
        return out;
    }

    std::vector<FromItem> items = ParseFrom(fromList);
    const std::string targetKey = NameKey(target.back());
    size_t t = items.size();
    for (size_t i = 0; i < items.size(); ++i) {
        const bool byAlias = items[i].aliasKey == targetKey;
        const bool byName = items[i].aliasKey.empty() && items[i].tableKey == targetKey;
        if (!byAlias && !byName) continue;
        if (t != items.size()) ThrowUnsupported("UPDATE target named twice in FROM");
        t = i;
    }
    for (const FromItem& it : items)
        if (it.join == Join::Right || it.join == Join::Full) ThrowUnsupported("UPDATE ... FROM with RIGHT or FULL JOIN");
    // Every row of T LEFT JOIN U is updated, matched or not; UPDATE-FROM only updates matched rows.
    if (t == 0 && items.size() > 1 && items[1].join == Join::Left)
        ThrowUnsupported("UPDATE ... FROM with a LEFT JOIN from the updated table");

    Nodes conditions;
    if (t < items.size()) {
        const FromItem& target_item = items[t];
        Append(out, target_item.factor);
        if (!target_item.aliasKey.empty()) {
            out.push_back(Word("AS"));
            out.push_back(target_item.alias.back());
        }
        if (!target_item.on.empty()) AddCondition(conditions, target_item.on);
    } else {
        Append(out, target);
    }
    out.push_back(Word("SET"));
    Append(out, set);

    Nodes fromOut;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i == t) continue;
        const FromItem& it = items[i];
        const bool keepsJoin = it.join == Join::Left && !fromOut.empty();
        if (!fromOut.empty()) {
            if (keepsJoin)
                Append(fromOut, {Word("LEFT"), Word("JOIN")});
            else
                fromOut.push_back(Leaf(TokenKind::Comma, ","));
        }
        Append(fromOut, it.factor);
        Append(fromOut, it.alias);
        if (keepsJoin && !it.on.empty()) {
            fromOut.push_back(Word("ON"));
            Append(fromOut, it.on);
        } else if (!it.on.empty()) {
            AddCondition(conditions, it.on);
        }
    }
    if (!fromOut.empty()) {
        out.push_back(Word("FROM"));
        Append(out, fromOut);
    }
    if (!whereCond.empty()) {
        if (conditions.empty())
            conditions = whereCond;
        else
            AddCondition(conditions, whereCond);
    }
    if (!conditions.empty()) {
        out.push_back(Word("WHERE"));
        Append(out, conditions);
    }
    return out;
}

}  // namespace db::sqlite
