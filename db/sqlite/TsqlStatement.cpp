// One statement of a batch, by its first word.
#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

bool StartsQuery(const Nodes& n, size_t k) {
    return k < n.size() && (n[k].IsWord("SELECT") || n[k].IsWord("WITH") || IsQueryGroup(n[k]));
}

// INSERT [INTO] T [(columns)] {VALUES ... | SELECT ... | DEFAULT VALUES}
Nodes RewriteInsert(const Nodes& s) {
    size_t k = 1;
    if (k < s.size() && s[k].IsWord("TOP")) ThrowUnsupported("INSERT TOP");
    if (k < s.size() && s[k].IsWord("INTO")) ++k;
    const size_t nameEnd = NameEnd(s, k);
    if (nameEnd == k) ThrowUnsupported("INSERT without a table name");
    Nodes prefix{Word("INSERT"), Word("INTO")};
    Append(prefix, Slice(s, k, nameEnd));
    k = nameEnd;
    if (k < s.size() && s[k].IsParen() && !IsQueryGroup(s[k])) prefix.push_back(s[k++]);
    const Nodes source = Slice(s, k, s.size());
    Nodes out = RewriteSequence(prefix);
    Append(out, StartsQuery(s, k) && !IsQueryGroup(s[k]) ? RewriteQuery(source) : RewriteSequence(source));
    return out;
}

// DELETE [FROM] T [WHERE ...]; SQL Server's second FROM (a join) has no SQLite form here.
Nodes RewriteDelete(const Nodes& s) {
    size_t k = 1;
    if (k < s.size() && s[k].IsWord("TOP")) ThrowUnsupported("DELETE TOP");
    if (k < s.size() && s[k].IsWord("FROM")) ++k;
    const size_t nameEnd = NameEnd(s, k);
    if (nameEnd == k) ThrowUnsupported("DELETE without a table name");
    if (FindWord(s, "FROM", nameEnd) != std::string::npos) ThrowUnsupported("DELETE with a FROM join");
    if (nameEnd < s.size() && !s[nameEnd].IsWord("WHERE")) ThrowUnsupported("DELETE ... " + Emit({s[nameEnd]}));
    Nodes out{Word("DELETE"), Word("FROM")};
    Append(out, Slice(s, k, s.size()));
    return RewriteSequence(out);
}

// The table a string such as 'tempdb..##TABTEMP' or 'dbo.T' names: its last part.
struct ObjectName {
    std::string name;
    bool temp = false;
};

ObjectName ParseObjectName(const std::string& text) {
    ObjectName o;
    const size_t dot = text.find_last_of('.');
    o.name = dot == std::string::npos ? text : text.substr(dot + 1);
    if (!o.name.empty() && o.name[0] == '[' && o.name.back() == ']') o.name = o.name.substr(1, o.name.size() - 2);
    while (!o.name.empty() && o.name[0] == '#') {
        o.temp = true;
        o.name.erase(0, 1);
    }
    return o;
}

// IF NOT OBJECT_ID('X') IS NULL DROP TABLE X, or IF OBJECT_ID('X') IS NOT NULL DROP TABLE X.
Nodes RewriteIf(const Nodes& s) {
    const char* kForm = "IF other than IF OBJECT_ID(...) IS NOT NULL DROP TABLE";
    auto at = [&](size_t i, const char* w) { return i < s.size() && s[i].IsWord(w); };
    size_t call = 0;
    if (at(1, "NOT") && at(2, "OBJECT_ID") && at(4, "IS") && at(5, "NULL")) call = 2;
    if (at(1, "OBJECT_ID") && at(3, "IS") && at(4, "NOT") && at(5, "NULL")) call = 1;
    if (call == 0 || !s[call + 1].IsParen()) ThrowUnsupported(kForm);
    const std::vector<Nodes> args = SplitCommas(s[call + 1].items);
    const bool argsOk = (args.size() == 1 || args.size() == 2) && args[0].size() == 1 &&
                        args[0][0].IsLeaf(TokenKind::String) &&
                        (args.size() == 1 || (args[1].size() == 1 && args[1][0].IsLeaf(TokenKind::String) &&
                                              EqualsNoCase(args[1][0].token.text, "U")));
    if (!argsOk) ThrowUnsupported(kForm);
    const ObjectName object = ParseObjectName(args[0][0].token.text);

    const size_t nameEnd = NameEnd(s, 8);
    if (!at(6, "DROP") || !at(7, "TABLE") || nameEnd == 8 || nameEnd != s.size()) ThrowUnsupported(kForm);
    const Node& dropped = s[nameEnd - 1];
    if (dropped.IsLeaf(TokenKind::TempName) != object.temp || !EqualsNoCase(dropped.token.text, object.name))
        ThrowUnsupported("IF OBJECT_ID(...) DROP TABLE of another table");
    Nodes out{Word("DROP"), Word("TABLE"), Word("IF"), Word("EXISTS")};
    Append(out, Slice(s, 8, nameEnd));
    return RewriteSequence(out);
}

Nodes RewriteDrop(const Nodes& s) {
    for (const Node& n : s)
        if (n.IsLeaf(TokenKind::Comma)) ThrowUnsupported("DROP of several objects");
    return RewriteSequence(s);
}

Nodes RewriteSet(const Nodes& s) {
    // Row counts are never sent to this client: the option has nothing to switch off.
    if (s.size() == 3 && s[1].IsWord("NOCOUNT") && (s[2].IsWord("ON") || s[2].IsWord("OFF"))) return {};
    if (s.size() > 1 && s[1].IsLeaf(TokenKind::Variable)) ThrowUnsupported("SET " + s[1].token.text);
    ThrowUnsupported(s.size() > 1 && s[1].IsLeaf(TokenKind::Word) ? "SET " + Upper(s[1].token.text) : std::string("SET"));
}

Nodes RewriteTruncate(const Nodes& s) {
    const size_t nameEnd = NameEnd(s, 2);
    if (s.size() < 3 || !s[1].IsWord("TABLE") || nameEnd != s.size()) ThrowUnsupported("TRUNCATE " + Emit(Slice(s, 1, s.size())));
    Nodes out{Word("DELETE"), Word("FROM")};
    Append(out, Slice(s, 2, s.size()));
    return RewriteSequence(out);
}

Nodes RewriteCreate(const Nodes& s) {
    const bool known = s.size() > 1 && (s[1].IsWord("TABLE") || s[1].IsWord("INDEX") || s[1].IsWord("UNIQUE") ||
                                        s[1].IsWord("VIEW"));
    if (!known) ThrowUnsupported(s.size() > 1 ? "CREATE " + Upper(s[1].token.text) : std::string("CREATE"));
    const size_t as = FindWord(s, "AS");
    if (as != std::string::npos && StartsQuery(s, as + 1)) {
        Nodes out = RewriteSequence(Slice(s, 0, as + 1));
        Append(out, RewriteQuery(Slice(s, as + 1, s.size())));
        return out;
    }
    return RewriteSequence(s);
}

Nodes RewriteDml(const Nodes& s) {
    if (s[0].IsWord("INSERT")) return RewriteInsert(s);
    if (s[0].IsWord("UPDATE")) return RewriteSequence(StructureUpdate(s));
    if (s[0].IsWord("DELETE")) return RewriteDelete(s);
    ThrowUnsupported("WITH followed by " + Upper(s[0].token.text));
}

}  // namespace

Nodes RewriteStatement(Nodes s) {
    StripTableHints(s);
    if (s.empty()) return {};
    const Node& first = s[0];
    if (first.IsParen()) return RewriteSequence(s);
    if (first.IsWord("SELECT")) return RewriteQuery(s);
    if (first.IsWord("WITH")) {
        const size_t head = CteHeadLength(s);
        if (head < s.size() && (s[head].IsWord("INSERT") || s[head].IsWord("UPDATE") || s[head].IsWord("DELETE"))) {
            Nodes out = RewriteSequence(Slice(s, 0, head));
            Append(out, RewriteDml(Slice(s, head, s.size())));
            return out;
        }
        return RewriteQuery(s);
    }
    if (first.IsWord("INSERT") || first.IsWord("UPDATE") || first.IsWord("DELETE")) return RewriteDml(s);
    if (first.IsWord("IF")) return RewriteIf(s);
    if (first.IsWord("DROP")) return RewriteDrop(s);
    if (first.IsWord("SET")) return RewriteSet(s);
    if (first.IsWord("TRUNCATE")) return RewriteTruncate(s);
    if (first.IsWord("CREATE")) return RewriteCreate(s);
    ThrowUnsupported(first.IsLeaf(TokenKind::Word) ? Upper(first.token.text) : "statement starting with " + Emit({first}));
}

}  // namespace db::sqlite
