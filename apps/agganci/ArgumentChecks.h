#pragma once
// Checks of the command line that CLI11 does not make, or makes with texts a user cannot read. Each refuses
// with a usage error before any command runs: 104 a value of the wrong kind, 105 a value not valid, 106 a
// value missing.
#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>

#include "db/Decimal.h"

namespace app {

// The option takes a whole number from min to max ("--port: 99999 is more than 65535").
CLI::Option* WholeNumber(CLI::Option* option, long min, long max);

// The option's text takes at most `characters` characters, as its column does; blanks beyond them are dropped,
// as the database drops them.
CLI::Option* AtMost(CLI::Option* option, std::size_t characters);

// The same check for a limit known only once the database is open (the company's longest article code): a usage
// error naming `name`, in AtMost's words.
void RequireAtMost(const std::string& name, const std::string& text, std::size_t characters);

// The option's text is more than blanks: a code of blanks alone is no code.
CLI::Option* NotBlank(CLI::Option* option);

// The option takes a number read as a form's field reads it (the database's own conversion: "1,5" is no
// number), from `min` to `max`; `whole` for an integer column. A blank value (blanks alone too) is let
// through as an empty one: it empties the field.
CLI::Option* Number(CLI::Option* option, bool whole, const db::Decimal& min, const db::Decimal& max);

// Every value of every option and positional of `app` and its commands is UTF-8 text: it is stored as such and
// printed in JSON, which cannot carry anything else. Nor does a value hold control characters (below U+0020,
// and U+007F): a code or a one-line text holding one is no code a user can see or type again, and a terminal
// acts on them. Only an extended description, a text of several lines, keeps its line breaks and tabs.
void RequireUtf8Text(CLI::App& app);

// What the raw arguments hold, read as CLI11 reads them.
struct ArgumentScan {
    bool json = false;         // --json given as an option, not as the value of another
    std::string withoutValue;  // the first option given without its value (last, or followed by an option)
};
ArgumentScan ScanArguments(CLI::App& cli, int argc, char** argv);

}  // namespace app
