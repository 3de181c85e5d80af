#pragma once
// A reference about to be used: Error 91 when it was never set, as the platform raises it, so that the
// procedure's error handler reports it instead of the program crashing.
#include <memory>
#include <string>

#include "db/Error.h"

namespace entry {

inline constexpr long kObjectNotSet = 91;

template <class T>
T& Rif(const std::shared_ptr<T>& reference) {
    if (!reference) throw db::Error(kObjectNotSet, "Object variable or With block variable not set");
    return *reference;
}

// A host object the caller is about to use: a host that hands back Nothing is an error that names the
// object (424 "Oggetto non impostato: <name>", raised under `source`), not a crash.
template <class T>
std::shared_ptr<T> Richiesto(std::shared_ptr<T> object, const std::string& name, const std::string& source) {
    if (!object) throw db::Error(db::errc::ObjectRequired, "Oggetto non impostato: " + name, source);
    return object;
}

}  // namespace entry
