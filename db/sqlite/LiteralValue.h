#pragma once
// The value a SQL string literal stands for.
#include <string>
#include <string_view>

namespace db::sqlite {

// `literal` is the literal with its quotes ('it''s'); the result is it's. One pass: a value of a
// megabyte full of quotes costs a megabyte of work, not a megabyte per quote.
inline std::string LiteralValue(std::string_view literal) {
    std::string value;
    if (literal.size() < 2) return value;
    const std::string_view body = literal.substr(1, literal.size() - 2);
    if (body.find('\'') == std::string_view::npos) return std::string(body);
    value.reserve(body.size());
    for (std::size_t k = 0; k < body.size(); ++k) {
        value += body[k];
        if (body[k] == '\'' && k + 1 < body.size() && body[k + 1] == '\'') ++k;  // a doubled quote is one
    }
    return value;
}

}  // namespace db::sqlite
