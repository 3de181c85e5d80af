// Table hints: locking and index advice for SQL Server, without meaning on SQLite.
#include <algorithm>
#include <array>

#include "db/sqlite/TsqlRewrite.h"
#include "db/sqlite/TsqlUnsupported.h"

namespace db::sqlite {

namespace {

constexpr std::array kLockHints = {
    "NOLOCK",   "READUNCOMMITTED", "READCOMMITTED", "READCOMMITTEDLOCK", "REPEATABLEREAD", "SERIALIZABLE",
    "HOLDLOCK", "UPDLOCK",         "XLOCK",         "ROWLOCK",           "PAGLOCK",        "TABLOCK",
    "TABLOCKX", "READPAST",        "NOWAIT",        "SNAPSHOT",
};
constexpr std::array kPlanHints = {"NOEXPAND", "FORCESEEK", "FORCESCAN", "INDEX"};

bool IsOneOf(const Node& n, const auto& words) {
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return n.IsWord(w); });
}

// Each hint: a word, a word with arguments (INDEX(ix), FORCESEEK(ix(col))) or INDEX = ix.
void CheckHintList(const Nodes& items) {
    for (const Nodes& hint : SplitCommas(items)) {
        if (hint.empty()) ThrowUnsupported("empty table hint");
        const Node& word = hint[0];
        const bool known = IsOneOf(word, kLockHints) || IsOneOf(word, kPlanHints);
        bool wellFormed = hint.size() == 1;
        if (IsOneOf(word, kPlanHints)) {
            wellFormed = wellFormed || (hint.size() == 2 && hint[1].IsParen()) ||
                         (word.IsWord("INDEX") && hint.size() == 3 && hint[1].IsOperator("="));
        }
        if (!known || !wellFormed) {
            ThrowUnsupported("table hint " + (word.IsLeaf(TokenKind::Word) ? Upper(word.token.text) : Emit(hint)));
        }
    }
}

}  // namespace

void StripTableHints(Nodes& nodes) {
    for (size_t i = 0; i < nodes.size();) {
        Node& n = nodes[i];
        // WITH followed directly by "(" is always a hint list: a CTE puts its name first.
        if (n.IsWord("WITH") && i + 1 < nodes.size() && nodes[i + 1].IsParen()) {
            CheckHintList(nodes[i + 1].items);
            nodes.erase(nodes.begin() + static_cast<long>(i), nodes.begin() + static_cast<long>(i) + 2);
            continue;
        }
        if (n.IsParen() && i > 0 && IsNameNode(nodes[i - 1]) && n.items.size() == 1 && IsOneOf(n.items[0], kLockHints)) {
            nodes.erase(nodes.begin() + static_cast<long>(i));
            continue;
        }
        if (n.kind != Node::Kind::Leaf) StripTableHints(n.items);
        ++i;
    }
}

}  // namespace db::sqlite
