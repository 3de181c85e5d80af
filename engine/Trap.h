#pragma once
// How every engine operation reports an error: the same number and description, with the operation's
// own name put in front of the error source, so nested routines read innermost last.
#include <exception>
#include <utility>

#include "db/Error.h"

namespace engine {

template <class F>
auto RaiseAs(const char* operation, F&& body) -> decltype(body()) {
    try {
        return std::forward<F>(body)();
    } catch (const db::Error& e) {
        throw e.WithSourcePrefix(operation);
    } catch (const std::exception& e) {
        throw db::Error(db::errc::ProviderError, e.what()).WithSourcePrefix(operation);
    }
}

}  // namespace engine
