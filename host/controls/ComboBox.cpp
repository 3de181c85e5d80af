#include "host/controls/ComboBox.h"

#include "db/Error.h"

namespace host::controls {

namespace {
constexpr long kSubscriptOutOfRange = 381;  // "Invalid property array index"
constexpr long kInvalidPropertyValue = 380;
}  // namespace

void ComboBox::Clear() {
    items_.clear();
    listIndex_ = -1;
}

void ComboBox::AddItem(const std::string& key, const std::string& caption) { items_.emplace_back(key, caption); }

const std::pair<std::string, std::string>& ComboBox::Item(long index) const {
    if (index < 0 || index >= ListCount()) throw db::Error(kSubscriptOutOfRange, "Invalid property array index");
    return items_[static_cast<std::size_t>(index)];
}

std::string ComboBox::ItemKey(long index) const { return Item(index).first; }

std::string ComboBox::ItemCaption(long index) const { return Item(index).second; }

void ComboBox::ListIndex(long index) {
    if (index < -1 || index >= ListCount()) throw db::Error(kInvalidPropertyValue, "Invalid property value");
    if (index == listIndex_) return;
    listIndex_ = index;
    click_.Raise();
}

std::string ComboBox::Text() const { return listIndex_ < 0 ? std::string() : Item(listIndex_).first; }

void ComboBox::UserChoose(const std::string& caption) {
    UserReaches();
    for (long i = 0; i < ListCount(); ++i)
        if (ItemCaption(i) == caption) return ListIndex(i);
    throw db::Error(db::errc::InvalidProcedureCall, "The list of " + Name() + " has no item \"" + caption + "\"");
}

}  // namespace host::controls
