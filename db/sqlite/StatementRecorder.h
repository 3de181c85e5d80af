#pragma once
// With AGGANCI_RECORD_STATEMENTS=FILE in the environment, the driver appends each T-SQL text it is given to
// FILE, one JSON string a line, the first of each shape only (LiteralShape.h: statements differing only in
// their values are one). The statements the component sends to SQL Server are checked from such recordings
// of real runs (tests/tsql). Unset, it costs one test of a pointer.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

#include "db/sqlite/LiteralShape.h"

namespace db::sqlite {

inline void RecordStatement(std::string_view tsql) {
    static const char* const file = std::getenv("AGGANCI_RECORD_STATEMENTS");
    if (file == nullptr || *file == '\0') return;
    static std::mutex mutex;
    static std::unordered_set<std::string> seen;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!seen.insert(ShapeLiterals(tsql).text).second) return;
    std::string line = "\"";
    for (const char c : tsql) {
        switch (c) {
        case '"': line += "\\\""; break;
        case '\\': line += "\\\\"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        case '\t': line += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                line += escaped;
            } else {
                line += c;
            }
        }
    }
    std::ofstream(file, std::ios::app) << line << "\"\n";
}

}  // namespace db::sqlite
