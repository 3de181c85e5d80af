#pragma once
// The shape of a T-SQL text: the text with its values taken out: string literals, and whole numbers
// compared or assigned with "=" (an identifier, a counter). The component builds its statements by
// concatenation, so the statements of every article differ only in the codes and numbers they carry; their
// translation does not depend on those values. Translating one shape once and putting each statement's own
// values back into the result spares the translation of every other statement of that shape.
//
// A literal stays in the shape (and so in the memo's key) where the translation reads its value: after
// LIKE (a pattern is checked for character classes), and in statements using OBJECT_ID, STUFF or
// FOR XML; numbers elsewhere (TOP n, type lengths, positions) are part of the shape too. FillLiterals
// also refuses a translation that did not keep every placeholder exactly once, as it was (it turned one into
// a name, for instance): such a statement is translated with its own values instead.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/sqlite/BoundLiterals.h"

namespace db::sqlite {

struct ShapedValue {
    bool number = false;  // a whole number (text: its digits); otherwise a string (text: its value)
    std::string text;
};

struct LiteralShape {
    std::string text;                 // the statement, each shaped value replaced by a placeholder
    std::vector<ShapedValue> values;  // the shaped values, in order
    bool Shaped() const { return !values.empty(); }
};

LiteralShape ShapeLiterals(std::string_view tsql);

// The translated statements of a shape with the values put back (strings as SQLite literals); nullopt
// when the translation did not keep each placeholder exactly once, as it was.
std::optional<std::vector<std::string>> FillLiterals(const std::vector<std::string>& translated,
                                                     const std::vector<ShapedValue>& values);

// What BindLiterals (BoundLiterals.h) makes of the statements of one translated shape, found once for the
// shape: the statement with parameters, and per parameter the shape value it takes or, for a literal that
// is no placeholder (a LIKE pattern), its own value. Binding a statement of the shape then needs no scan
// of its text. None when a placeholder would stay in the statement (a literal after AS, a blob, a number
// not compared with "=") or nothing is bound: such statements are bound from their text.
struct BoundShape {
    std::string sql;                   // BindLiterals(statement).sql for every statement of the shape
    std::vector<long> shapeIndex;      // per parameter: the shape value it takes, or -1
    std::vector<BoundLiteral> values;  // per parameter: its own value where shapeIndex is -1
};

std::optional<BoundShape> BindShape(const std::string& translated);

// The parameter values of the statement FillLiterals made from the shape with `values`: those that
// BindLiterals finds in it. nullopt when the values do not fit the shape.
std::optional<std::vector<BoundLiteral>> BoundValues(const BoundShape& shape, const std::vector<ShapedValue>& values);

}  // namespace db::sqlite
