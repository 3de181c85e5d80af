// The generic walk over one nesting level of a statement.
#include <array>

#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

struct Refusal {
    const char* word;
    const char* construct;
};

// Words that only T-SQL knows and that no translation here covers.
constexpr std::array<Refusal, 23> kRefused = {{
    {"MERGE", "MERGE"},
    {"OUTPUT", "OUTPUT clause"},
    {"PIVOT", "PIVOT"},
    {"UNPIVOT", "UNPIVOT"},
    {"DECLARE", "DECLARE"},
    {"EXEC", "EXEC"},
    {"EXECUTE", "EXECUTE"},
    {"OPTION", "OPTION (...)"},
    {"COLLATE", "COLLATE"},
    {"OFFSET", "OFFSET ... FETCH"},
    {"FETCH", "OFFSET ... FETCH"},
    {"TABLESAMPLE", "TABLESAMPLE"},
    {"IDENTITY", "IDENTITY"},
    {"TOP", "TOP"},
    {"PERCENT", "TOP PERCENT"},
    {"WHILE", "WHILE"},
    {"GOTO", "GOTO"},
    {"PRINT", "PRINT"},
    {"RAISERROR", "RAISERROR"},
    {"THROW", "THROW"},
    {"WAITFOR", "WAITFOR"},
    {"TRY", "TRY ... CATCH"},
    {"CATCH", "TRY ... CATCH"},
}};

void CheckLeaf(const Nodes& nodes, size_t i) {
    const Node& n = nodes[i];
    switch (n.token.kind) {
    case TokenKind::Variable: ThrowUnsupported("variable " + n.token.text);
    case TokenKind::Operator:
        if (n.token.text.size() == 2 && n.token.text[1] == '=' && n.token.text != "<=" && n.token.text != ">=" &&
            n.token.text != "!=")
            ThrowUnsupported("compound assignment " + n.token.text);
        return;
    case TokenKind::Word: break;
    default: return;
    }
    if (n.IsWord("APPLY")) {
        const bool cross = i > 0 && nodes[i - 1].IsWord("CROSS");
        ThrowUnsupported(cross ? "CROSS APPLY" : "OUTER APPLY");
    }
    if (n.IsWord("FOR")) {
        const bool named = i + 1 < nodes.size() && nodes[i + 1].IsLeaf(TokenKind::Word);
        ThrowUnsupported(named ? "FOR " + Upper(nodes[i + 1].token.text) : std::string("FOR"));
    }
    if (n.IsWord("WITH") && i + 1 < nodes.size() && nodes[i + 1].IsWord("TIES")) ThrowUnsupported("TOP WITH TIES");
    for (const Refusal& r : kRefused)
        if (n.IsWord(r.word)) ThrowUnsupported(r.construct);
    // SQL Server's LIKE knows character classes ([a-z]); SQLite's reads the brackets literally.
    if (n.IsWord("LIKE") && i + 1 < nodes.size() && nodes[i + 1].IsLeaf(TokenKind::String) &&
        nodes[i + 1].token.text.find('[') != std::string::npos)
        ThrowUnsupported("LIKE pattern with [...]");
}

bool IsDboQualifier(const Nodes& nodes, size_t i) {
    const Node& n = nodes[i];
    return (n.IsWord("dbo") || (n.IsLeaf(TokenKind::QuotedName) && EqualsNoCase(n.token.text, "dbo"))) &&
           i + 1 < nodes.size() && nodes[i + 1].IsLeaf(TokenKind::Dot) && (i == 0 || !nodes[i - 1].IsLeaf(TokenKind::Dot));
}

}  // namespace

Nodes RewriteSequence(const Nodes& in) {
    Nodes out;
    for (size_t i = 0; i < in.size(); ++i) {
        const Node& n = in[i];
        switch (n.kind) {
        case Node::Kind::Paren:
            if (IsForXmlQuery(n))
                out.push_back(ForXmlConcatenation(n));
            else
                out.push_back(Paren(IsQueryGroup(n) ? RewriteQuery(n.items) : RewriteSequence(n.items), n.value));
            continue;
        case Node::Kind::Case: {
            Node c = n;
            c.items = RewriteSequence(n.items);
            out.push_back(std::move(c));
            continue;
        }
        case Node::Kind::Leaf: break;
        }
        CheckLeaf(in, i);
        if (IsCallAt(in, i)) {
            const bool qualified = i > 0 && in[i - 1].IsLeaf(TokenKind::Dot);
            Append(out, RewriteCall(n, in[i + 1], qualified));
            ++i;
            continue;
        }
        // The default schema: dbo.T is the table T.
        if (IsDboQualifier(in, i)) {
            ++i;
            continue;
        }
        if (n.IsWord("CURRENT_TIMESTAMP")) {
            // SQL Server gives local time here, SQLite UTC: same text as GETDATE().
            Append(out, RewriteCall(Word("GETDATE"), Paren({}), false));
            continue;
        }
        if (n.IsOperator("!<")) {
            out.push_back(Leaf(TokenKind::Operator, ">="));
            continue;
        }
        if (n.IsOperator("!>")) {
            out.push_back(Leaf(TokenKind::Operator, "<="));
            continue;
        }
        out.push_back(n);
    }
    return RewritePlus(out);
}

}  // namespace db::sqlite
