#include "db/odbc/OdbcConnectionString.h"

#include <cctype>

namespace db::odbc {
namespace {

bool IsSecretKey(std::string key) {
    while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) key.pop_back();
    std::size_t start = 0;
    while (start < key.size() && std::isspace(static_cast<unsigned char>(key[start]))) ++start;
    key = key.substr(start);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key == "PWD" || key == "PASSWORD";
}

// End of the value that starts at i: a braced value runs to its closing brace ("}}" is a brace inside).
std::size_t ValueEnd(const std::string& s, std::size_t i) {
    std::size_t j = i;
    while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
    if (j < s.size() && s[j] == '{') {
        for (++j; j < s.size(); ++j) {
            if (s[j] != '}') continue;
            if (j + 1 < s.size() && s[j + 1] == '}') {
                ++j;
                continue;
            }
            ++j;
            break;
        }
    }
    const std::size_t semicolon = s.find(';', j);
    return semicolon == std::string::npos ? s.size() : semicolon;
}

}  // namespace

std::string MaskSecrets(const std::string& s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t eq = s.find('=', i);
        if (eq == std::string::npos) {
            out.append(s, i, std::string::npos);
            break;
        }
        const std::size_t end = ValueEnd(s, eq + 1);
        out.append(s, i, eq + 1 - i);
        if (IsSecretKey(s.substr(i, eq - i))) {
            out += "***";
        } else {
            out.append(s, eq + 1, end - eq - 1);
        }
        if (end < s.size()) out += ';';
        i = end + 1;
    }
    return out;
}

}  // namespace db::odbc
