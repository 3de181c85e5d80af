#pragma once
// Lines kept end to end in blocks of 64 KiB, with their lengths: a run of many thousand articles keeps its
// log text at about its own size, never copied into a buffer twice as large as it grows. The first few long
// lines (banners, the separator written after every article) are kept once: a line equal to one of them
// costs its length field only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace generation {

class KeptLines {
public:
    void Add(const std::string& line);
    void Clear();
    std::vector<std::string> Lines() const;

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    static constexpr std::size_t kLongLine = 64;   // shorter lines are not worth looking for
    static constexpr std::size_t kRemembered = 4;  // long lines kept once
    static constexpr std::uint32_t kRepeat = 0x80000000u;  // in a length: "remembered line number (low bits)"

    std::vector<std::string> blocks_;
    std::vector<std::uint32_t> lengths_;
    std::vector<std::string> remembered_;
};

}  // namespace generation
