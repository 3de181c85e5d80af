#include "host/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "db/Error.h"

namespace host {
namespace {

// VB's file errors.
constexpr long kBadFileMode = 54;
constexpr long kDeviceIoError = 57;
constexpr long kFileAlreadyExists = 58;
constexpr long kPathFileAccessError = 75;
constexpr long kPathNotFound = 76;
constexpr const char* kSource = "FileAccess";

}  // namespace

TextStream::TextStream(std::string path, std::ofstream file) : path_(std::move(path)), file_(std::move(file)) {}

TextStream::~TextStream() {
    if (file_.is_open()) file_.close();
}

void TextStream::WriteLine(const std::string& text) {
    if (!file_.is_open()) throw db::Error(kBadFileMode, "Bad file mode: " + path_ + " is closed", kSource);
    file_ << text << "\r\n";
    file_.flush();
    if (!file_) throw db::Error(kDeviceIoError, "Device I/O error: " + path_, kSource);
}

void TextStream::Close() {
    if (file_.is_open()) file_.close();
}

std::shared_ptr<entry::ITextStream> FileAccess::CreaFile(const std::string& path) { return Create(path, false); }

std::shared_ptr<entry::ITextStream> FileAccess::CreaFileNuovo(const std::string& path) { return Create(path, true); }

std::shared_ptr<entry::ITextStream> FileAccess::Create(const std::string& path, bool mustBeNew) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    const fs::path folder = target.parent_path();
    if (path.empty() || (!folder.empty() && !fs::is_directory(folder, ec)))
        throw db::Error(kPathNotFound, "Path not found: " + path, kSource);
    if (mustBeNew) {
        // O_EXCL claims the name atomically; the stream then opens the file that is now ours.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 && errno == EEXIST) throw db::Error(kFileAlreadyExists, "File already exists: " + path, kSource);
        if (fd < 0) throw db::Error(kPathFileAccessError, "Path/File access error: " + path, kSource);
        ::close(fd);
    }
    std::ofstream file(target, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file.is_open()) throw db::Error(kPathFileAccessError, "Path/File access error: " + path, kSource);
    return std::make_shared<TextStream>(path, std::move(file));
}

}  // namespace host
