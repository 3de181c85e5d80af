#include "mass_duplication/CodiceArticolo.h"

#include <vector>

#include "db/Variant.h"

namespace mass_duplication {

namespace {
// The characters of a UTF-8 text, one string each: positions count characters, not bytes, as the
// code's length does everywhere else (db::Len).
std::vector<std::string> Caratteri(const std::string& s) {
    std::vector<std::string> out;
    for (unsigned char ch : s) {
        if (out.empty() || (ch & 0xC0) != 0x80) out.emplace_back();
        out.back() += static_cast<char>(ch);
    }
    return out;
}
}  // namespace

void CodiceArticolo(std::string& code, const std::string& mask) {
    if (code.empty() || mask.empty()) return;
    auto c = Caratteri(code);
    const auto m = Caratteri(mask);
    for (std::size_t i = 0; i < c.size() && i < m.size(); ++i)
        if (m[i] != " " && m[i] != c[i]) c[i] = m[i];
    code.clear();
    for (const auto& ch : c) code += ch;
}

std::string NuovoCodice(const std::string& key, const std::string& old, const std::string& text) {
    if (key == kAggiungiPrefisso) return db::Trim(text) + old;
    if (key == kSostituisciParziale) {
        std::string code = old;
        CodiceArticolo(code, db::RTrim(text));
        return code;
    }
    if (key == kSostituisciCompleta) return db::Trim(text);
    return {};
}

}  // namespace mass_duplication
