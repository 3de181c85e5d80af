#pragma once
// A host object the caller is about to use: a host that hands back Nothing is an error that names the
// object, not a crash.
#include <memory>
#include <string>

#include "db/Error.h"

namespace generation {

template <class T>
std::shared_ptr<T> Richiesto(std::shared_ptr<T> object, const std::string& name, const std::string& source) {
    if (!object) throw db::Error(db::errc::ObjectRequired, "Oggetto non impostato: " + name, source);
    return object;
}

}  // namespace generation
