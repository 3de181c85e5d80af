// Fuzz target: the new article code of the mass run (CodiceArticolo, NuovoCodice). Whatever the bytes,
// no crash; for valid UTF-8, the rules in characters: the mask keeps the code's length, a blank (or a
// position past the mask's end) keeps the old character, any other mask character replaces it; the modes
// give prefix + old, the masked old code, or the complete text; cutting to the code width (Left) never
// splits a character.
//
// Input: byte 0 picks the mode key ("0", "1", "2" or another); the rest is the old code and the text,
// separated by the first 0xFF byte (never part of UTF-8).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "db/Variant.h"
#include "mass_duplication/CodiceArticolo.h"

namespace {

[[noreturn]] void Broken(const char* why) {
    std::fprintf(stderr, "invariant broken: %s\n", why);
    std::abort();
}

// Well-formed UTF-8: no stray continuation byte, no truncated sequence, no overlong form, no surrogate.
bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

void CheckMask(const std::string& code, const std::string& mask) {
    std::string result = code;
    mass_duplication::CodiceArticolo(result, mask);
    if (code.empty() || mask.empty()) {
        if (result != code) Broken("an empty code or mask changed the code");
        return;
    }
    if (db::Len(result) != db::Len(code)) Broken("the mask changed the code's length in characters");
    for (std::size_t i = 1; i <= db::Len(code); ++i) {
        const std::string m = db::Mid(mask, i, 1);
        const std::string expected = m.empty() || m == " " ? db::Mid(code, i, 1) : m;
        if (db::Mid(result, i, 1) != expected) Broken("a position does not follow the mask rule");
    }
    if (!ValidUtf8(result)) Broken("the masked code is not valid UTF-8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const char keys[] = {'0', '1', '2', '9'};
    const std::string key(1, keys[data[0] % 4]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = rest.find('\xFF');
    const std::string old(rest.substr(0, cut));
    const std::string text(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));

    // Any bytes: an answer, never a crash (the sanitizers watch the reads).
    std::string code = old;
    mass_duplication::CodiceArticolo(code, text);
    const std::string nuovo = mass_duplication::NuovoCodice(key, old, text);
    (void)db::Left(nuovo, 25);

    if (!ValidUtf8(old) || !ValidUtf8(text)) return 0;
    CheckMask(old, text);
    std::string expected;
    if (key == "0") expected = db::Trim(text) + old;
    else if (key == "1") {
        expected = old;
        mass_duplication::CodiceArticolo(expected, db::RTrim(text));
    } else if (key == "2") expected = db::Trim(text);
    if (nuovo != expected) Broken("the mode did not give its code");
    const std::string cutCode = db::Left(nuovo, 25);
    if (!ValidUtf8(cutCode)) Broken("cutting to 25 characters split a character");
    if (db::Len(cutCode) != std::min<std::size_t>(db::Len(nuovo), 25)) Broken("the cut code is not 25 characters");
    return 0;
}
