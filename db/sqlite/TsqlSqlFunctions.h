#pragma once
// SQL functions that translated statements call (TsqlTranslator.h); the SQLite driver registers them
// on every connection it opens.
//
// tsql_add(a, b): T-SQL's "+" when the statement text does not tell whether it adds or concatenates.
//   - NULL when a or b is NULL (T-SQL propagates NULL in both cases);
//   - both text (or both blobs): the concatenation a || b;
//   - otherwise at least one is a number, and SQL Server converts the other to a number too: the sum,
//     an integer when both are integers (error on 64-bit overflow), else a real. Text that is not a
//     number raises "Conversion failed when converting the varchar value '<text>' to a number.",
//     as SQL Server refuses it.
struct sqlite3;

namespace db::sqlite {

// Registers tsql_add on `db`. Returns the SQLite result code (SQLITE_OK on success).
int RegisterTsqlFunctions(sqlite3* db);

}  // namespace db::sqlite
