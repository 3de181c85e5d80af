#pragma once
// A reference the form is about to use: Error 91 when it was never set, as the platform raises it, so
// that the procedure's error handler reports it instead of the program crashing.
#include <memory>

#include "db/Error.h"

namespace links_form {

template <class T>
T& Rif(const std::shared_ptr<T>& reference) {
    if (!reference) throw db::Error(91, "Object variable or With block variable not set");
    return *reference;
}

}  // namespace links_form
