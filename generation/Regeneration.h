#pragma once
// Regeneration of a link row as one unit: the previous article is removed and the new one created inside
// one transaction, so that a creation that fails leaves the previous article exactly as it was, and the
// link row still points to an article that exists.
#include <functional>
#include <string>

#include "generation/GenerationContext.h"

namespace generation {

// Removes `codice` (EliminaArticoloGenerato), then runs `crea`: when it returns True both are committed,
// otherwise (or on an error, which then goes on to the caller) both are rolled back. `crea` may open and
// close transactions of its own; they nest inside this one. Returns what `crea` returned.
bool RigeneraArticolo(const GenerationContext& contesto, const std::string& codice,
                      const std::function<bool()>& crea);

}  // namespace generation
