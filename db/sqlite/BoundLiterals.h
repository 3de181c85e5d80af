#pragma once
// The values written into a SQLite statement turned into bound parameters, so that statements differing
// only in the values they carry share one prepared statement: its string literals, and the whole numbers
// compared or assigned with "=". The component writes its values into its statements (every article's
// copy carries its own codes), so without this each of them would be prepared anew.
//
// Only data statements are rewritten (SELECT, INSERT, UPDATE, DELETE, WITH, REPLACE): a value bound to a
// parameter behaves there exactly as the literal does (same storage class, no affinity, no collation of
// its own). Kept as they are: literals after AS (SQLite reads them as names), blob literals, numbers
// anywhere else (ORDER BY 1 names a column, LIMIT 5 is no comparison), and every value of a statement with
// more than kMaxBoundLiterals of them (a script of values, run once).
// A literal in a result column would change the column's name; the driver checks the names and runs
// such a statement with its literals.
#include <string>
#include <string_view>
#include <vector>

namespace db::sqlite {

inline constexpr std::size_t kMaxBoundLiterals = 200;
// Parameter names are this prefix and the literal's number: ":agg_literal_0", ...
inline constexpr const char* kBoundLiteralPrefix = ":agg_literal_";

struct BoundLiteral {
    bool number = false;  // a whole number: `integer` holds it
    std::string text;     // a string's value, quotes resolved
    long long integer = 0;
    std::size_t at = 0;   // where the literal starts in the statement as written
};

struct BoundLiterals {
    std::string sql;                   // the statement with parameters; empty when nothing was rewritten
    std::vector<BoundLiteral> values;  // by parameter number
    bool Rewritten() const { return !sql.empty(); }
};

BoundLiterals BindLiterals(std::string_view sql);

}  // namespace db::sqlite
