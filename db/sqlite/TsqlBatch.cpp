// A T-SQL batch into statements. ';' always ends one; without it a new statement begins at a word
// that can only start one at that place (SQL Server reads "IF ... DROP TABLE X SELECT ..." the same way).
#include <array>

#include "db/sqlite/TsqlRewrite.h"

namespace db::sqlite {

namespace {

constexpr std::array kStarters = {"SELECT", "WITH",   "INSERT",  "UPDATE", "DELETE",    "DROP",   "CREATE",
                                  "ALTER",  "IF",     "SET",     "TRUNCATE", "MERGE",   "DECLARE", "EXEC",
                                  "EXECUTE", "PRINT", "RAISERROR", "THROW", "WHILE",    "RETURN",  "USE",
                                  "GO",     "COMMIT", "ROLLBACK"};

bool IsStarterWord(const Node& n) {
    for (const char* w : kStarters)
        if (n.IsWord(w)) return true;
    return false;
}

bool Contains(const Nodes& s, const char* word) { return FindWord(s, word) != std::string::npos; }

// WITH name AS (...) or WITH name (columns) AS (...): a CTE, not a table hint or WITH TIES.
bool StartsCte(const Nodes& all, size_t i) {
    if (i + 2 >= all.size()) return false;
    const Node& name = all[i + 1];
    const bool isName = (name.IsLeaf(TokenKind::Word) && !IsKeyword(name)) || name.IsLeaf(TokenKind::QuotedName);
    if (!isName) return false;
    return all[i + 2].IsWord("AS") || (all[i + 2].IsParen() && i + 3 < all.size() && all[i + 3].IsWord("AS"));
}

// Whether `cur` (non-empty) still waits for the query that all[i] begins.
bool AwaitsQuery(const Nodes& cur) {
    const Node& first = cur[0];
    const Node& prev = cur.back();
    if (prev.IsWord("UNION") || prev.IsWord("ALL") || prev.IsWord("EXCEPT") || prev.IsWord("INTERSECT") ||
        prev.IsWord("AS"))
        return true;
    if (first.IsWord("WITH"))
        return !Contains(cur, "SELECT") && !Contains(cur, "INSERT") && !Contains(cur, "UPDATE") && !Contains(cur, "DELETE");
    if (first.IsWord("INSERT")) return !Contains(cur, "SELECT") && !Contains(cur, "VALUES") && !Contains(cur, "DEFAULT");
    return false;
}

bool StartsNewStatement(const Nodes& cur, const Nodes& all, size_t i) {
    const Node& n = all[i];
    if (!IsStarterWord(n)) return false;
    // The statement of an IF: its condition holds no statement word at this level.
    if (cur[0].IsWord("IF")) {
        size_t body = 1;
        while (body < cur.size() && !IsStarterWord(cur[body])) ++body;
        if (body == cur.size()) return false;
        return StartsNewStatement(Slice(cur, body, cur.size()), all, i);
    }
    const Node& prev = cur.back();
    if (n.IsWord("SELECT")) return !AwaitsQuery(cur);
    if (n.IsWord("WITH")) return StartsCte(all, i) && !AwaitsQuery(cur);
    if (n.IsWord("INSERT") || n.IsWord("UPDATE") || n.IsWord("DELETE")) {
        if (prev.IsWord("ON") || prev.IsWord("FOR")) return false;  // ON DELETE CASCADE, FOR UPDATE
        if (cur[0].IsWord("WITH") && AwaitsQuery(cur)) return false;  // WITH c AS (...) UPDATE ...
        return true;
    }
    if (n.IsWord("SET")) return !Contains(cur, "UPDATE");
    if (n.IsWord("IF")) return !prev.IsWord("TABLE");  // DROP TABLE IF EXISTS
    return true;
}

}  // namespace

std::vector<Nodes> SplitBatch(const Nodes& all) {
    std::vector<Nodes> statements;
    Nodes cur;
    auto flush = [&] {
        if (!cur.empty()) statements.push_back(std::move(cur));
        cur.clear();
    };
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].IsLeaf(TokenKind::Semicolon)) {
            flush();
            continue;
        }
        if (!cur.empty() && StartsNewStatement(cur, all, i)) flush();
        cur.push_back(all[i]);
    }
    flush();
    return statements;
}

}  // namespace db::sqlite
