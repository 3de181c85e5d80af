#pragma once
// What the dry runs of both runs work out for each item's new code, as the run would: the code it writes and
// whether an earlier item of the same run takes that code first.
#include <string>
#include <unordered_map>

#include "db/Variant.h"

namespace generation {

// The code the run writes: the composed one when it fits, cut to the company's length when the user agrees
// to truncate, none ("") otherwise.
inline std::string FinalCode(const std::string& code, long longest, bool truncate) {
    if (static_cast<long>(db::Len(code)) <= longest) return code;
    return truncate ? db::Left(code, static_cast<std::size_t>(longest)) : std::string();
}

// The final codes earlier items of a run take: the run then finds such a code as existing. Codes compare as
// the database compares them.
class TakenCodes {
public:
    // The item that took `code` first; "" when this item is the first.
    std::string Take(const std::string& code, const std::string& item) {
        const auto [first, taken] = first_.emplace(db::CodeKey(code), item);
        return taken ? std::string() : first->second;
    }

private:
    std::unordered_map<std::u32string, std::string> first_;
};

}  // namespace generation
