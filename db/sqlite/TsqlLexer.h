#pragma once
// Tokenizer of the SQL Server dialect, the first step of the SQLite dialect adapter.
// Comments and white space are dropped; quoting is resolved, so later steps see plain values:
// 'it''s' and N'it''s' become the string it's, [my name] and "my name" the quoted name my name,
// ##TABTEMP and #X the temporary names TABTEMP and X.
#include <string>
#include <string_view>
#include <vector>

namespace db::sqlite {

enum class TokenKind {
    Word,        // identifier or keyword, unquoted: SELECT, MG66_CODART
    QuotedName,  // [name] or "name"; text holds the name without quotes
    TempName,    // #name or ##name; text holds the name without the hashes
    String,      // 'text' or N'text'; text holds the value with quotes resolved
    Number,      // 12, 1.5, .5, 1e3
    Variable,    // @name or @@name, kept with its at signs
    Placeholder, // ? or ?NNN, a positional parameter (ADO's parameter marker, also SQLite's)
    Operator,    // = <> != < > <= >= !< !> + - * / % & | ^ ~ || and compound assignments such as +=
    LParen,
    RParen,
    Comma,
    Dot,
    Semicolon,
};

struct Token {
    TokenKind kind;
    std::string text;
};

// Throws db::Error (errc::UnsupportedSql) for a text it cannot read: an unterminated string, quoted
// name or comment, or a character with no meaning in T-SQL.
std::vector<Token> LexTsql(std::string_view sql);

}  // namespace db::sqlite
