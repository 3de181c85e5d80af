#pragma once
// The one way a value is put into a statement's text. Every text that comes from data or from a user
// goes through SqlText, so a quote in it can neither break the statement nor change its meaning.
#include <string>
#include <string_view>

#include "db/Variant.h"

namespace db {

// The text with every single quote doubled, without the surrounding quotes: for statements that are
// written as "... = '" + code + "'" in the component's own wording.
std::string SqlEscape(std::string_view text);

// 'text' with quotes doubled.
std::string SqlText(std::string_view text);

// SqlText for a value written into a column of national text: N'text' when the text is not plain ASCII, since
// SQL Server reads a plain literal in the database's code page and puts '?' for what the code page lacks.
std::string SqlNationalText(std::string_view text);

// A number for a statement (company codes, flags): the value's decimal text. Integer, Long, Decimal,
// Double (15 significant digits, never an exponent), Boolean (-1 / 0) and numeric text (blanks
// dropped and normalised: " 007 " gives "7", "1E3" gives "1000"). Anything else - Empty, Null, dates,
// objects, texts that are not numbers - raises Error 13, so no text can slip in where a number
// belongs. A number that would need more than 40 characters raises Error 6.
std::string SqlNumber(const Variant& value);

}  // namespace db
