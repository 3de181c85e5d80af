#pragma once
// Text comparison as the ERP's SQL Server databases do it: case-insensitive (ASCII and the accented
// Latin-1 letters), accent-sensitive, trailing blanks ignored ('' = ' '). Registered with SQLite as
// collation SQLSERVER, by the driver and by the loadable extension; the recordset filter compares the
// same way. The exact rule is in docs/SCHEMA.md.
#include <string>
#include <string_view>

struct sqlite3;

namespace db::sqlite {

inline constexpr const char* kCollationName = "SQLSERVER";

// The one case folding of the database's text: a-z and à..þ except ÷ to upper case, nothing else (not ÿ, whose
// capital VB's UCase gives). The C++ comparisons that must find what the database finds fold with it.
char32_t FoldCase(char32_t c);

// The characters of a text as the comparison reads and folds them, trailing blanks included: two texts compare
// equal exactly when, without their trailing blanks, these are equal.
std::u32string FoldedText(std::string_view s);

// < 0, 0 or > 0 like strcmp. Texts are UTF-8; bytes that are not valid UTF-8 compare as themselves.
int CompareSqlServer(std::string_view a, std::string_view b);

// LIKE with '%' or '*' for any run of characters and '_' for one, compared as CompareSqlServer does.
bool LikeSqlServer(std::string_view text, std::string_view pattern);

// CompareSqlServer in the shape of SQLite's collation callback (sqlite3_create_collation_v2).
int CollateSqlServer(void* unused, int lengthA, const void* a, int lengthB, const void* b);

// Registers the collation on a connection; raises the driver error on failure (RegisterCollation.cpp).
void RegisterCollation(sqlite3* db);

}  // namespace db::sqlite
