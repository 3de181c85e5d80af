#pragma once
// Removal of a generated article: its bills of materials through the host's bill-of-materials processing,
// then the article with everything that belongs to it through the host's article business object.
#include <string>

#include "generation/GenerationContext.h"

namespace generation {

// Style and title of the box that shows why an article could not be removed.
inline constexpr long kStileCritico = 16;

// Removes `codice` in a transaction of its own; inside a caller's transaction that is a savepoint, so the
// caller can still undo the removal (see RigeneraArticolo). True when the article is gone, also when there
// was none to remove (regeneration removes before every creation). False when the business object refused
// (for instance the article is a component of another bill): nothing is removed and the user is shown its
// text with the critical icon. Errors are raised after the removal's own level was rolled back.
bool EliminaArticoloGenerato(const GenerationContext& contesto, const std::string& codice);

}  // namespace generation
