#pragma once
// A reference about to be used: Error 91 when it was never set, as the platform raises it, so that the
// procedure's error handler reports it instead of the program crashing.
#include <memory>

#include "db/Error.h"

namespace entry {

inline constexpr long kObjectNotSet = 91;

template <class T>
T& Rif(const std::shared_ptr<T>& reference) {
    if (!reference) throw db::Error(kObjectNotSet, "Object variable or With block variable not set");
    return *reference;
}

}  // namespace entry
