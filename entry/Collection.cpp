#include "entry/Collection.h"

namespace entry {
namespace {

db::Error InvalidArgument() {
    return db::Error(db::errc::InvalidProcedureCall, "Invalid procedure call or argument", "Collection");
}

}  // namespace

long Collection::Find(const std::string& key) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!items_[i].first.empty() && db::SameText(items_[i].first, key)) return static_cast<long>(i);
    return -1;
}

void Collection::Add(const db::Variant& item, const std::string& key) {
    if (!key.empty() && Find(key) >= 0)
        throw db::Error(457, "This key is already associated with an element of this collection", "Collection");
    items_.emplace_back(key, item);
}

void Collection::Remove(const std::string& key) {
    long i = Find(key);
    if (i < 0) throw InvalidArgument();
    items_.erase(items_.begin() + i);
}

void Collection::Put(const db::Variant& item, const std::string& key) {
    if (key.empty()) throw InvalidArgument();
    const long i = Find(key);
    if (i >= 0) items_.erase(items_.begin() + i);
    items_.emplace_back(key, item);
}

const db::Variant& Collection::Item(const std::string& key) const {
    long i = Find(key);
    if (i < 0) throw InvalidArgument();
    return items_[static_cast<std::size_t>(i)].second;
}

const db::Variant& Collection::Item(long index1) const {
    if (index1 < 1 || index1 > Count()) throw InvalidArgument();
    return items_[static_cast<std::size_t>(index1 - 1)].second;
}

bool Collection::Contains(const std::string& key) const { return Find(key) >= 0; }

}  // namespace entry
