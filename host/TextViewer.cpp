#include "host/TextViewer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "db/Error.h"

namespace host {

void TextViewer::Mostra(const std::string& path) {
    constexpr long kFileNotFound = 53;
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        throw db::Error(kFileNotFound, "File not found: " + path, "TextViewer");
    std::ifstream file(path, std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (out_) *out_ << contents << std::flush;
    shown_.push_back({path, std::move(contents)});
}

}  // namespace host
