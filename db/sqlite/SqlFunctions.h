#pragma once
// SQL functions the T-SQL translation relies on, registered on every SQLite connection:
//   tsql_add(a, b)  T-SQL's '+': numbers add, texts concatenate, NULL when either side is NULL; a text
//                   that is a number adds to a number, any other text against a number is an error;
//   newid()         a new GUID text, upper case, 8-4-4-4-12 hexadecimal digits.
struct sqlite3;

namespace db::sqlite {

void RegisterSqlFunctions(sqlite3* db);

}  // namespace db::sqlite
