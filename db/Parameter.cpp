#include <algorithm>
#include <utility>

#include "db/AdoErrors.h"
#include "db/Command.h"

namespace db {
namespace {

// Parameter names are ASCII: folded in place, without a library call per character.
// A procedure's parameters share their start ("@NODUP_MG6..."): the last letters tell most of them apart.
bool SameName(const std::string& a, const std::string& b) {
    const auto same = [](char x, char y) { return x == y || AsciiUpper(x) == AsciiUpper(y); };
    return a.size() == b.size() && (a.empty() || same(a.back(), b.back())) &&
           std::equal(a.begin(), a.end(), b.begin(), same);
}

Error NotFound(const std::string& what) {
    return Error(errc::ItemNotFound, StandardDescription(errc::ItemNotFound) + " (parameter " + what + ")",
                 ado::kSource);
}

}  // namespace

Parameter::Parameter(std::string name, long type, long direction, long size, Variant value)
    : name_(std::move(name)), type_(type), direction_(direction), size_(size), value_(std::move(value)) {}

void Parameters::Append(const ParameterPtr& p) {
    if (!p) throw Error(errc::ObjectRequired, StandardDescription(errc::ObjectRequired), ado::kSource);
    items_.push_back(p);
}

void Parameters::Delete(const std::string& name) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const ParameterPtr& p) { return SameName(p->Name(), name); });
    if (it == items_.end()) throw NotFound("'" + name + "'");
    items_.erase(it);
}

Parameter& Parameters::Item(long index) const {
    if (index < 0 || index >= Count()) throw NotFound(std::to_string(index));
    return *items_[static_cast<std::size_t>(index)];
}

Parameter& Parameters::Item(const std::string& name) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const ParameterPtr& p) { return SameName(p->Name(), name); });
    if (it == items_.end()) throw NotFound("'" + name + "'");
    return **it;
}

}  // namespace db
