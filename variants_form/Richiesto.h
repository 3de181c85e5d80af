#pragma once
// A reference the form needs; Error 91 when the caller never set it, as the platform raises it.
#include <memory>

#include "db/Error.h"

namespace variants_form {

inline constexpr long kObjectNotSet = 91;

template <class T>
T& Richiesto(const std::shared_ptr<T>& riferimento) {
    if (!riferimento) throw db::Error(kObjectNotSet, "Object variable or With block variable not set");
    return *riferimento;
}

}  // namespace variants_form
