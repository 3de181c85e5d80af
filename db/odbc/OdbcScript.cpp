#include "db/odbc/OdbcScript.h"

#include <cctype>

namespace db::odbc {
namespace {

bool IsBlank(const std::string& s) {
    for (char c : s) {
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool IsGoLine(const std::string& line) {
    std::size_t a = 0, b = line.size();
    while (a < b && std::isspace(static_cast<unsigned char>(line[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(line[b - 1]))) --b;
    return b - a == 2 && std::toupper(static_cast<unsigned char>(line[a])) == 'G' &&
           std::toupper(static_cast<unsigned char>(line[a + 1])) == 'O';
}

}  // namespace

std::vector<std::string> SplitBatches(const std::string& script) {
    std::vector<std::string> batches;
    std::string current;
    std::size_t start = 0;
    while (start <= script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        const std::string line = script.substr(start, end - start);
        if (IsGoLine(line)) {
            if (!IsBlank(current)) batches.push_back(current);
            current.clear();
        } else {
            current += line;
            if (end < script.size()) current += '\n';
        }
        start = end + 1;
    }
    if (!IsBlank(current)) batches.push_back(current);
    return batches;
}

}  // namespace db::odbc
