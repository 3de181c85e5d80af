#pragma once
// The SQL Server dialect adapter of the SQLite driver. The component writes its statements in T-SQL,
// exactly as SQL Server runs them; on SQLite the driver passes every command text through here first.
//
// What is rewritten (anything else that only T-SQL knows is refused with db::Error, never guessed):
// - table hints WITH (NOLOCK, ...) and (NOLOCK) are dropped;
// - SELECT [DISTINCT] TOP n / TOP (n) -> LIMIT n, also in subqueries and CTEs;
// - SELECT ... INTO X FROM ... (also after WITH ...) -> CREATE TABLE X AS [WITH ...] SELECT ...;
// - ##X and #X -> tempdb.X, a temporary table of this connection only (kTempTablesSchema);
// - IF [NOT] OBJECT_ID('...X') IS [NOT] NULL DROP TABLE X -> DROP TABLE IF EXISTS X;
// - UPDATE T SET ... FROM T [AS A] JOIN U ON c WHERE w -> UPDATE T [AS A] SET ... FROM U WHERE (c) AND (w);
// - STUFF((SELECT sep + x ... FOR XML PATH('')), 1, len(sep), '') and a bare (SELECT x ... FOR XML
//   PATH('')) -> (SELECT group_concat(x, sep) FROM (SELECT x ... ORDER BY ...)), in the same order;
// - "+" -> "||" between text, "+" between numbers, tsql_add(a, b) when the text cannot tell
//   (the driver registers tsql_add: see TsqlSqlFunctions.h);
// - NEWID(), ISNULL, GETDATE(), CURRENT_TIMESTAMP, LEN, SUBSTRING, LEFT, RIGHT, CHARINDEX, CONCAT,
//   SCOPE_IDENTITY(), CAST/CONVERT to character, integer, decimal, float and bit types;
// - [name] -> "name", N'x' -> 'x', !< and !>, "alias = expr" in select lists, dbo. prefixes;
// - SET NOCOUNT ON|OFF is dropped; TRUNCATE TABLE X -> DELETE FROM X;
// - ? and ?NNN parameter markers pass; @variables are refused (a batch has no DECLARE here).
// The list idiom gives the items as they are: SQL Server's XML would write & < > as entities.
// The output is normalised: one blank between tokens, comments removed.
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/sqlite/LiteralShape.h"
#include "db/sqlite/SecondSight.h"
#include "db/TextHash.h"

namespace db::sqlite {

// The schema of the temporary tables #X and ##X: a private in-memory database the driver attaches to every
// connection under SQL Server's name for it. Not SQLite's own temporary schema: any change there makes every
// prepared statement of the connection prepare again, and a mass run makes and drops its selection table.
inline constexpr const char* kTempTablesSchema = "tempdb";

struct TranslatedBatch {
    std::vector<std::string> statements;
    // From the memo, when it knows them: per statement, its parameters (null: bind it from its text), and
    // the values they take (LiteralShape.h).
    std::vector<std::shared_ptr<const BoundShape>> bound;
    std::vector<ShapedValue> values;
};

// Rewrites one T-SQL batch (statements separated by ';' or simply following each other, as T-SQL
// allows) into SQLite statements, in order. Throws db::Error (errc::UnsupportedSql) whose description
// names the construct it does not know, e.g. "Unsupported T-SQL construct: MERGE".
TranslatedBatch TranslateTsql(std::string_view tsql);

// Memo of TranslateTsql for the driver, which translates every statement it runs. Statements carry their
// values, so the memo is kept by shape (LiteralShape.h: the text without its values) and each statement's
// values are put back into its shape's translation. A shape is kept from its second translation on
// (SecondSight.h), the most recent `capacity` of them.
// Not thread-safe: one per connection.
class TsqlTranslationCache {
public:
    explicit TsqlTranslationCache(std::size_t capacity = 512) : capacity_(capacity == 0 ? 1 : capacity) {}

    // Translation of `tsql`; failures are not kept and throw again on the next call.
    TranslatedBatch Translate(std::string_view tsql);

    std::size_t Size() const { return entries_.size(); }
    void Clear();

private:
    const TranslatedBatch& Memo(std::string_view tsql);

    std::size_t capacity_;
    std::unordered_map<std::string, TranslatedBatch, db::TextHasher, std::equal_to<>> entries_;
    std::deque<std::string> order_;  // oldest first
    SecondSight secondSight_;
    TranslatedBatch once_;  // the last translation not kept
};

}  // namespace db::sqlite
