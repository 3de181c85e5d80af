// Function calls: T-SQL built-ins mapped to SQLite expressions with the same result.
#include <algorithm>
#include <array>

#include "db/sqlite/Collation.h"
#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

// T-SQL functions with no SQLite counterpart here; naming them beats SQLite's "no such function".
constexpr std::array kRefusedFunctions = {
    "DATEADD", "DATEDIFF", "DATEPART", "DATENAME", "YEAR",      "MONTH",        "DAY",        "EOMONTH",
    "FORMAT",  "STR",      "REPLICATE", "SPACE",   "STRING_AGG", "PATINDEX",    "ISNUMERIC",  "ISDATE",
    "TRY_CAST", "TRY_CONVERT", "PARSE", "TRY_PARSE", "QUOTENAME", "REVERSE",    "DATALENGTH", "OBJECT_ID",
    "NEWSEQUENTIALID", "DB_NAME", "USER_NAME", "SUSER_SNAME", "HOST_NAME", "APP_NAME", "ERROR_MESSAGE",
    "ERROR_NUMBER", "DATEFROMPARTS", "SYSDATETIMEOFFSET", "CHOOSE", "SOUNDEX", "DIFFERENCE",
};

// Version-4 GUID text in SQL Server's upper-case 8-4-4-4-12 form; hex() already writes upper case.
constexpr const char* kNewGuid =
    "(hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || "
    "substr('89AB', 1 + (random() & 3), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))";
constexpr const char* kLocalNow = "strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')";
constexpr const char* kUtcNow = "strftime('%Y-%m-%d %H:%M:%f', 'now')";

using Args = std::vector<Nodes>;

Nodes Call(const std::string& name, const Args& args, YieldKind value) {
    Node n = Word(name);
    n.value = value;
    return Nodes{n, Paren(JoinCommas(args))};
}

Node Num(long v) { return Leaf(TokenKind::Number, std::to_string(v)); }
Node Str(std::string s) { return Leaf(TokenKind::String, std::move(s)); }
Node Op(const char* op) { return Leaf(TokenKind::Operator, op); }

Nodes Snippet(const char* sql, YieldKind value) {
    Nodes n = ParseSnippet(sql);
    n.front().value = value;
    return n;
}

Nodes CastAs(Nodes e, const char* type, YieldKind value) {
    e.push_back(Word("AS"));
    e.push_back(Word(type));
    return Call("CAST", {e}, value);
}

// A piece of a text keeps the text's collation in SQL Server, and every text column of the ERP compares
// case-insensitively; SQLite's substr() gives a text with none, which compares binary (LEFT(code, 3) = 'cam'
// would not find CAM-100).
Nodes KeepingCollation(Nodes text) {
    text.push_back(Word("COLLATE"));
    text.push_back(Word(kCollationName));
    return Nodes{Paren(text, YieldKind::Text)};
}

void NeedArgs(const std::string& name, const Args& a, size_t count) {
    if (a.size() != count || (count > 0 && a[0].empty()))
        ThrowUnsupported(name + " with " + std::to_string(a.size()) + " arguments");
}

// A whole-number literal of at most 9 digits: its value; -1 for anything else.
long SmallWholeNumber(const Nodes& n) {
    if (n.size() != 1 || !n[0].IsLeaf(TokenKind::Number)) return -1;
    const std::string& t = n[0].token.text;
    if (t.empty() || t.size() > 9 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(t);
}

bool IsPositiveLiteral(const Nodes& n) { return SmallWholeNumber(n) >= 1; }

// Length of a CHAR(n) / DECIMAL(p, s) type argument; `fallback` when the type has none.
long TypeArg(const Nodes& args, size_t index, long fallback, const std::string& type) {
    const Args parts = args.empty() ? Args{} : SplitCommas(args);
    if (index >= parts.size()) return fallback;
    const long value = SmallWholeNumber(parts[index]);
    if (value < 0) ThrowUnsupported("CAST to " + type + "(" + Emit(args) + ")");
    return value;
}

// CAST/CONVERT to a SQL Server type, with SQL Server's result: CHAR(n) pads with blanks, VARCHAR(n)
// cuts, DECIMAL(p, s) rounds to s places. Types whose values SQLite cannot represent alike (dates,
// GUIDs, binary) are refused.
Nodes CastTo(const Nodes& expr, const Nodes& type) {
    if (type.empty() || !type[0].IsLeaf(TokenKind::Word) || type.size() > 2 || (type.size() == 2 && !type[1].IsParen()))
        ThrowUnsupported("CAST to " + Emit(type));
    const std::string t = Upper(type[0].token.text);
    const Nodes args = type.size() == 2 ? type[1].items : Nodes{};
    const bool isMax = args.size() == 1 && args[0].IsWord("MAX");
    if (t == "VARCHAR" || t == "NVARCHAR") {
        if (isMax) return CastAs(expr, "TEXT", YieldKind::Text);
        return Call("substr", {CastAs(expr, "TEXT", YieldKind::Text), {Num(1)}, {Num(TypeArg(args, 0, 30, t))}},
                    YieldKind::Text);
    }
    if (t == "CHAR" || t == "NCHAR") {
        const long n = TypeArg(args, 0, 30, t);
        Nodes padded = CastAs(expr, "TEXT", YieldKind::Text);
        padded.push_back(Op("||"));
        Append(padded, Call("printf", {{Str("%*s")}, {Num(n)}, {Str("")}}, YieldKind::Text));
        return Call("substr", {padded, {Num(1)}, {Num(n)}}, YieldKind::Text);
    }
    if (t == "TEXT" || t == "NTEXT") return CastAs(expr, "TEXT", YieldKind::Text);
    if (t == "INT" || t == "INTEGER" || t == "BIGINT" || t == "SMALLINT" || t == "TINYINT")
        return CastAs(expr, "INTEGER", YieldKind::Number);
    if (t == "FLOAT" || t == "REAL") return CastAs(expr, "REAL", YieldKind::Number);
    if (t == "DECIMAL" || t == "NUMERIC" || t == "MONEY" || t == "SMALLMONEY") {
        // round() gives a real, and SQLite's CAST(real AS NUMERIC) keeps it real: whole numbers go
        // through INTEGER so that 2.5 AS DECIMAL(5,0) is 3, not 3.0, in a NUMERIC column.
        const long scale = (t == "MONEY" || t == "SMALLMONEY") ? 4 : TypeArg(args, 1, 0, t);
        const bool wholeLiteral = expr.size() == 1 && expr[0].IsLeaf(TokenKind::Number) &&
                                  expr[0].token.text.find_first_not_of("0123456789") == std::string::npos;
        if (wholeLiteral) return CastAs(expr, "NUMERIC", YieldKind::Number);
        if (scale == 0) return CastAs(CastAs(Call("round", {expr}, YieldKind::Number), "INTEGER", YieldKind::Number), "NUMERIC", YieldKind::Number);
        return CastAs(Call("round", {expr, {Num(scale)}}, YieldKind::Number), "NUMERIC", YieldKind::Number);
    }
    if (t == "BIT") {
        Nodes cmp = CastAs(expr, "NUMERIC", YieldKind::Number);
        cmp.push_back(Op("<>"));
        cmp.push_back(Num(0));
        return Nodes{Paren(cmp, YieldKind::Number)};
    }
    ThrowUnsupported("CAST to " + t);
}

Nodes RewriteCast(const Nodes& items) {
    size_t as = std::string::npos;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].IsWord("AS")) as = i;
    if (as == std::string::npos || as == 0) ThrowUnsupported("CAST without AS");
    return CastTo(RewriteSequence(Slice(items, 0, as)), Slice(items, as + 1, items.size()));
}

Args RewrittenArgs(const Node& args) {
    if (args.items.empty()) return {};
    Args parts = SplitCommas(args.items);
    for (Nodes& p : parts) p = RewriteSequence(p);
    return parts;
}

Nodes ListIdiom(const Node& args);

}  // namespace

bool IsCallAt(const Nodes& nodes, size_t i) {
    if (i + 1 >= nodes.size() || !nodes[i + 1].IsParen() || !nodes[i].IsLeaf(TokenKind::Word)) return false;
    const Node& n = nodes[i];
    return !IsKeyword(n) || n.IsWord("LEFT") || n.IsWord("RIGHT");
}

Nodes RewriteCall(const Node& name, const Node& argsNode, bool qualified) {
    if (qualified) return Nodes{name, Paren(RewriteSequence(argsNode.items))};
    const std::string fn = Upper(name.token.text);
    if (std::find(kRefusedFunctions.begin(), kRefusedFunctions.end(), fn) != kRefusedFunctions.end())
        ThrowUnsupported("function " + fn);
    if (fn == "STUFF") return ListIdiom(argsNode);
    if (fn == "CAST") return RewriteCast(argsNode.items);
    if (fn == "CONVERT") {
        const Args raw = SplitCommas(argsNode.items);
        if (raw.size() == 3) ThrowUnsupported("CONVERT with a style");
        if (raw.size() != 2) ThrowUnsupported("CONVERT with " + std::to_string(raw.size()) + " arguments");
        return CastTo(RewriteSequence(raw[1]), raw[0]);
    }

    const Args a = RewrittenArgs(argsNode);
    if (fn == "ISNULL") {
        NeedArgs(fn, a, 2);
        return Call("IFNULL", a, KindOf(a[0], 0, a[0].size()));
    }
    if (fn == "NEWID") {
        NeedArgs(fn, a, 0);
        return Nodes{Paren(ParseSnippet(kNewGuid).front().items, YieldKind::Text)};
    }
    if (fn == "GETDATE" || fn == "SYSDATETIME") {
        NeedArgs(fn, a, 0);
        return Snippet(kLocalNow, YieldKind::Date);
    }
    if (fn == "GETUTCDATE" || fn == "SYSUTCDATETIME") {
        NeedArgs(fn, a, 0);
        return Snippet(kUtcNow, YieldKind::Date);
    }
    if (fn == "LEN") {  // LEN ignores trailing blanks
        NeedArgs(fn, a, 1);
        return Call("length", {Call("rtrim", a, YieldKind::Text)}, YieldKind::Number);
    }
    if (fn == "SUBSTRING") {
        NeedArgs(fn, a, 3);
        if (IsPositiveLiteral(a[1])) return KeepingCollation(Call("substr", a, YieldKind::Text));
        // SQL Server counts a start below 1 as positions before the text; SQLite would count from the end.
        Nodes length = Nodes{Paren(a[2])};
        length.push_back(Op("+"));
        Append(length, Call("min", {a[1], {Num(1)}}, YieldKind::Number));
        length.push_back(Op("-"));
        length.push_back(Num(1));
        return KeepingCollation(
            Call("substr", {a[0], Call("max", {a[1], {Num(1)}}, YieldKind::Number), length}, YieldKind::Text));
    }
    if (fn == "LEFT") {
        NeedArgs(fn, a, 2);
        return KeepingCollation(Call("substr", {a[0], {Num(1)}, a[1]}, YieldKind::Text));
    }
    if (fn == "RIGHT") {
        NeedArgs(fn, a, 2);
        Nodes start = Call("length", {a[0]}, YieldKind::Number);
        start.push_back(Op("-"));
        start.push_back(Paren(a[1]));
        start.push_back(Op("+"));
        start.push_back(Num(1));
        return KeepingCollation(
            Call("substr", {a[0], Call("max", {start, {Num(1)}}, YieldKind::Number)}, YieldKind::Text));
    }
    if (fn == "CHARINDEX") {
        if (a.size() == 3) ThrowUnsupported("CHARINDEX with a start position");
        NeedArgs(fn, a, 2);
        // Text compares case-insensitively in the ERP's database.
        return Call("instr", {Call("upper", {a[1]}, YieldKind::Text), Call("upper", {a[0]}, YieldKind::Text)},
                    YieldKind::Number);
    }
    if (fn == "CONCAT") {  // NULL arguments count as empty text
        if (a.size() < 2) ThrowUnsupported("CONCAT with " + std::to_string(a.size()) + " arguments");
        Nodes joined;
        for (size_t i = 0; i < a.size(); ++i) {
            if (i > 0) joined.push_back(Op("||"));
            Append(joined, Call("IFNULL", {a[i], {Str("")}}, YieldKind::Text));
        }
        return Nodes{Paren(joined, YieldKind::Text)};
    }
    if (fn == "SCOPE_IDENTITY") {
        NeedArgs(fn, a, 0);
        return Call("last_insert_rowid", {}, YieldKind::Number);
    }
    return Nodes{name, Paren(JoinCommas(a))};
}

// ---- the list idiom -----------------------------------------------------------------------------

namespace {

// SELECT [DISTINCT] [TOP n] <column> [FROM ...] FOR XML PATH('')
struct ForXmlQuery {
    Nodes head;    // SELECT [DISTINCT] [TOP n]
    Nodes column;  // the single value
    Nodes rest;    // FROM ... WHERE ... ORDER BY ..., without the FOR clause
};

ForXmlQuery SplitForXml(const Nodes& items) {
    if (items.empty() || !items[0].IsWord("SELECT")) ThrowUnsupported("FOR XML query with WITH");
    const size_t f = FindWord(items, "FOR");
    const bool pathEmpty = f + 4 == items.size() && items[f + 1].IsWord("XML") && items[f + 2].IsWord("PATH") &&
                           items[f + 3].IsParen() && items[f + 3].items.size() == 1 &&
                           items[f + 3].items[0].IsLeaf(TokenKind::String) && items[f + 3].items[0].token.text.empty();
    if (!pathEmpty) {
        const bool named = f + 1 < items.size() && items[f + 1].IsLeaf(TokenKind::Word);
        if (named && items[f + 1].IsWord("XML")) ThrowUnsupported("FOR XML other than PATH('')");
        ThrowUnsupported(named ? "FOR " + Upper(items[f + 1].token.text) : std::string("FOR"));
    }
    size_t k = 1;
    if (k < f && (items[k].IsWord("DISTINCT") || items[k].IsWord("ALL"))) ++k;
    if (k < f && items[k].IsWord("TOP")) k += 2;
    size_t from = FindWord(items, "FROM", k);
    if (from > f) from = f;
    ForXmlQuery q{Slice(items, 0, k), Slice(items, k, from), Slice(items, from, f)};
    for (const char* setOp : {"UNION", "EXCEPT", "INTERSECT"})
        if (FindWord(q.rest, setOp) != std::string::npos) ThrowUnsupported("FOR XML over " + std::string(setOp));
    if (q.column.empty() || ExpressionEnd(q.column, 0) != q.column.size())
        ThrowUnsupported("FOR XML PATH('') with a named column or more than one column");
    return q;
}

// (SELECT group_concat(tsql_item, sep) FROM (SELECT item AS tsql_item FROM ... ORDER BY ...)).
// The rows come in the inner query's order: SQLite does not flatten an ordered subquery into an
// aggregate, and group_concat takes its rows as they come. NULL items are skipped, as in the XML.
Node GroupConcat(const ForXmlQuery& q, const Nodes& item, const std::string& separator) {
    Nodes inner = q.head;
    Append(inner, item);
    inner.push_back(Word("AS"));
    inner.push_back(Word(kListItemColumn));
    Append(inner, q.rest);
    Nodes outer{Word("SELECT")};
    Append(outer, Call("group_concat", {{Word(kListItemColumn)}, {Str(separator)}}, YieldKind::Text));
    outer.push_back(Word("FROM"));
    outer.push_back(Paren(RewriteQuery(inner)));
    return Paren(outer, YieldKind::Text);
}

size_t Utf8Length(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Byte offset of character `chars` of a UTF-8 text (its size when shorter).
size_t Utf8Offset(const std::string& s, size_t chars) {
    size_t seen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (seen++ == chars) return i;
    }
    return s.size();
}

// STUFF((SELECT sep + item FROM ... FOR XML PATH('')), 1, n, r) with n <= len(sep): the items joined
// by sep, the first separator's first n characters replaced by r (the usual n = len(sep), r = '' drops it).
Nodes ListIdiom(const Node& args) {
    const char* kWhat = "STUFF outside the FOR XML PATH('') list idiom";
    const Args parts = SplitCommas(args.items);
    if (parts.size() != 4 || parts[0].size() != 1 || !IsForXmlQuery(parts[0][0])) ThrowUnsupported(kWhat);
    const ForXmlQuery q = SplitForXml(parts[0][0].items);
    const Nodes& col = q.column;
    if (col.size() < 3 || !col[0].IsLeaf(TokenKind::String) || !col[1].IsOperator("+")) ThrowUnsupported(kWhat);
    const std::string& sep = col[0].token.text;
    const long cut = SmallWholeNumber(parts[2]);
    if (SmallWholeNumber(parts[1]) != 1 || cut < 0 || static_cast<size_t>(cut) > Utf8Length(sep) || parts[3].size() != 1 ||
        !parts[3][0].IsLeaf(TokenKind::String))
        ThrowUnsupported(kWhat);
    const Node list = GroupConcat(q, Slice(col, 2, col.size()), sep);
    const std::string lead = parts[3][0].token.text + sep.substr(Utf8Offset(sep, static_cast<size_t>(cut)));
    if (lead.empty()) return Nodes{list};
    return Nodes{Paren({Str(lead), Op("||"), list}, YieldKind::Text)};
}

}  // namespace

bool IsForXmlQuery(const Node& group) { return IsQueryGroup(group) && FindWord(group.items, "FOR") != std::string::npos; }

Node ForXmlConcatenation(const Node& group) {
    const ForXmlQuery q = SplitForXml(group.items);
    return GroupConcat(q, q.column, "");
}

}  // namespace db::sqlite
