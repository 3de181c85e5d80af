#include "db/ProcedureRegistry.h"

#include <cctype>
#include <map>
#include <mutex>
#include <utility>

namespace db {
namespace {

std::string Key(const std::string& name) {
    std::string out(name);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

struct Registry {
    std::mutex mutex;
    std::map<std::string, StoredProcedure> procedures;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterProcedure(const std::string& name, StoredProcedure procedure) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.procedures[Key(name)] = std::move(procedure);
}

const StoredProcedure* FindProcedure(const std::string& name) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.procedures.find(Key(name));
    // Entries are never removed, so the pointer stays valid after the lock is released.
    return it == r.procedures.end() ? nullptr : &it->second;
}

}  // namespace db
