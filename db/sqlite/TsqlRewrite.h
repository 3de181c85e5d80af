#pragma once
// Steps of the T-SQL -> SQLite rewriting, shared by the adapter's source files. Each step takes
// the nodes of one nesting level (see TsqlTree.h) and returns SQLite nodes; it throws db::Error
// through ThrowUnsupported for anything it cannot translate faithfully.
#include <string>
#include <vector>

#include "db/sqlite/TsqlTree.h"

namespace db::sqlite {

// One statement of a batch, rewritten; empty when the statement has no SQLite counterpart and no
// effect there (SET NOCOUNT ON).
Nodes RewriteStatement(Nodes statement);

// The statements of a batch: split at ';' and where a new statement begins without one, as T-SQL
// allows ("... DROP TABLE ##T SELECT ...").
std::vector<Nodes> SplitBatch(const Nodes& batch);

// Removes table hints - WITH (NOLOCK), WITH (UPDLOCK, ROWLOCK), the old bare (NOLOCK) - at every
// level. They only steer SQL Server's locking; SQLite locks the whole database anyway.
void StripTableHints(Nodes& nodes);

// The generic walk over one level: function calls, subqueries, CASE, names and "+". Everything
// that is not a clause of its own passes through here.
Nodes RewriteSequence(const Nodes& nodes);

// A query (optionally with CTEs and UNIONs): TOP -> LIMIT, SELECT ... INTO -> CREATE TABLE AS,
// select-list aliases written "alias = expr", then RewriteSequence.
Nodes RewriteQuery(const Nodes& items);

// WITH name [(cols)] AS (query) [, ...]: the number of nodes the CTE list takes from `items`
// (0 when items does not start with WITH).
size_t CteHeadLength(const Nodes& items);

// UPDATE ... [FROM ...] in SQLite's UPDATE-FROM form.
Nodes StructureUpdate(const Nodes& items);

// A function call name(args) at nodes[i], nodes[i + 1].
bool IsCallAt(const Nodes& nodes, size_t i);
// The call rewritten; `qualified` for schema.name(...) calls, which are never renamed.
Nodes RewriteCall(const Node& name, const Node& args, bool qualified);
// A parenthesised query with a FOR clause, and the (SELECT expr FROM ... FOR XML PATH('')) form of
// it turned into a group_concat (any other FOR clause is refused).
bool IsForXmlQuery(const Node& group);
Node ForXmlConcatenation(const Node& group);

// "+" on one level, decided operand by operand: || for text, + for numbers, tsql_add otherwise.
Nodes RewritePlus(const Nodes& nodes);
// End of the arithmetic expression that starts at nodes[from] (from itself when none starts there).
size_t ExpressionEnd(const Nodes& nodes, size_t from);
// What the expression nodes[from, to) is known to yield.
YieldKind KindOf(const Nodes& nodes, size_t from, size_t to);

// Name of the column the list idiom's inner query gives its single value.
inline constexpr const char* kListItemColumn = "tsql_item";

}  // namespace db::sqlite
