#include "generation/KeptLines.h"

#include <algorithm>

namespace generation {

void KeptLines::Add(const std::string& line) {
    if (line.size() >= kLongLine) {
        const auto same = std::find(remembered_.begin(), remembered_.end(), line);
        if (same != remembered_.end()) {
            lengths_.push_back(kRepeat | static_cast<std::uint32_t>(same - remembered_.begin()));
            return;
        }
        if (remembered_.size() < kRemembered) {
            remembered_.push_back(line);
            lengths_.push_back(kRepeat | static_cast<std::uint32_t>(remembered_.size() - 1));
            return;
        }
    }
    if (blocks_.empty() || blocks_.back().size() + line.size() > kBlock) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(kBlock, line.size()));  // a longer line takes a block of its own
    }
    blocks_.back() += line;
    lengths_.push_back(static_cast<std::uint32_t>(line.size()));
}

void KeptLines::Clear() {
    blocks_.clear();
    lengths_.clear();
    remembered_.clear();
}

std::vector<std::string> KeptLines::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(lengths_.size());
    std::size_t block = 0, at = 0;
    for (const std::uint32_t length : lengths_) {
        if (length & kRepeat) {
            lines.push_back(remembered_[length & ~kRepeat]);
            continue;
        }
        if (at + length > blocks_[block].size()) {
            ++block;
            at = 0;
        }
        lines.push_back(blocks_[block].substr(at, length));
        at += length;
    }
    return lines;
}

}  // namespace generation
