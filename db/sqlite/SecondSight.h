#pragma once
// Admission to a cache keyed by statement text: a text is kept only when it comes a second time. The
// component writes values into its statements, so many texts run once and never again; kept, they would
// push out the statements that do come back, and fill memory in proportion to the articles of a run.
// Only hashes of the texts seen once are remembered, and only the most recent `remember` of them.
#include <cstddef>
#include <functional>
#include <string_view>
#include <unordered_set>

#include "db/TextHash.h"

namespace db::sqlite {

class SecondSight {
public:
    explicit SecondSight(std::size_t remember = 4096) : remember_(remember) {}

    // True when the text (or one with the same hash) was offered before: keep it.
    bool Admit(std::string_view text) {
        const std::size_t hash = HashText(text);
        if (seen_.count(hash)) return true;
        if (seen_.size() >= remember_) seen_.clear();
        seen_.insert(hash);
        return false;
    }

private:
    std::size_t remember_;
    std::unordered_set<std::size_t> seen_;
};

}  // namespace db::sqlite
