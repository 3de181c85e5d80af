#pragma once
// Statements are built of many short pieces, for every article and table: joined with one allocation instead
// of a growth at every `+`.
#include <initializer_list>
#include <string>
#include <string_view>

namespace db {

inline std::string JoinText(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts) size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts) text.append(part);
    return text;
}

}  // namespace db
