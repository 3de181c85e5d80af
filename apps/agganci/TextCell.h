#pragma once
// A cell of a printed table: the text padded to the column's width in characters (not bytes, so accented and
// non-Latin codes line up), and never run into the next column.
#include <string>

#include "db/Variant.h"

namespace app {

inline std::string Cell(const std::string& text, std::size_t width) {
    const std::size_t length = db::Len(text);
    return text + std::string(length < width ? width - length : 1, ' ');
}

}  // namespace app
