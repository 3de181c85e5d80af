#pragma once
// How the mass run derives the new article code from the old one: a prefix, a mask laid over the old code,
// or a complete new code.
#include <string>

namespace mass_duplication {

// Keys of the mode combo CBO_PREFISSO.
inline constexpr const char* kAggiungiPrefisso = "0";
inline constexpr const char* kSostituisciParziale = "1";
inline constexpr const char* kSostituisciCompleta = "2";

// Lays `mask` over `code`: a non-blank mask character replaces the code's character at the same position.
// The code keeps its length; mask characters beyond it are ignored. Nothing changes when either is empty.
void CodiceArticolo(std::string& code, const std::string& mask);

// The new code for `old` in the mode `key` with the code text as the user typed it: "0" text + old
// (text trimmed), "1" old under the mask (trailing blanks of the text removed, leading ones kept so they
// keep the code's first positions), "2" the trimmed text; any other key gives an empty code.
std::string NuovoCodice(const std::string& key, const std::string& old, const std::string& text);

}  // namespace mass_duplication
