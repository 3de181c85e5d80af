#pragma once
// VB's Collection: items in insertion order, optionally keyed by text (keys compare case-insensitively).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/Error.h"
#include "db/Object.h"
#include "db/Variant.h"

namespace entry {

class Collection : public db::Object {
public:
    // Error 457 when the key is already there.
    void Add(const db::Variant& item, const std::string& key = {});
    // Error 5 when the key is not there.
    void Remove(const std::string& key);
    // The item under `key`, in place of the one the key had, which leaves: the new item goes last, as after
    // Remove and Add. The key is looked for once.
    void Put(const db::Variant& item, const std::string& key);
    const db::Variant& Item(const std::string& key) const;
    const db::Variant& Item(long index1) const;  // 1-based, as VB
    bool Contains(const std::string& key) const;
    long Count() const { return static_cast<long>(items_.size()); }
    const std::vector<std::pair<std::string, db::Variant>>& Items() const { return items_; }

private:
    long Find(const std::string& key) const;
    std::vector<std::pair<std::string, db::Variant>> items_;
};

using CollectionPtr = std::shared_ptr<Collection>;

}  // namespace entry
