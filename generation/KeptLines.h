#pragma once
// Lines kept end to end in blocks of 64 KiB, with their lengths: a run of many thousand articles keeps its
// log text at about its own size, never copied into a buffer twice as large as it grows.
#include <cstdint>
#include <string>
#include <vector>

namespace generation {

class KeptLines {
public:
    void Add(const std::string& line);
    void Clear();
    std::vector<std::string> Lines() const;

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::string> blocks_;
    std::vector<std::uint32_t> lengths_;
};

}  // namespace generation
