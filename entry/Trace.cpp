#include "entry/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <random>

#include <fmt/format.h>

#include "entry/ComponentInfo.h"

namespace entry {

namespace {
constexpr long kGuidFailed = static_cast<long>(0x80004005L);  // E_FAIL
}

long CoCreateGuid(Guid* guid) {
    if (!guid) return kGuidFailed;
    try {
        std::random_device source;
        std::uint8_t bytes[16];
        for (int i = 0; i < 16; i += 4) {
            const std::uint32_t r = source();
            for (int k = 0; k < 4; ++k) bytes[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
        }
        guid->Data1 = static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
                      static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
        guid->Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
        // Version 4 (random) and the standard variant, as the platform marks its GUIDs.
        guid->Data3 = static_cast<std::uint16_t>(((bytes[6] & 0x0F) | 0x40) << 8 | bytes[7]);
        for (int k = 0; k < 8; ++k) guid->Data4[k] = bytes[8 + k];
        guid->Data4[0] = static_cast<std::uint8_t>((guid->Data4[0] & 0x3F) | 0x80);
        return 0;
    } catch (const std::exception&) {
        return kGuidFailed;  // no entropy source: the caller's id stays empty
    }
}

void OutputDebugStringA(const char* text) {
    const char* target = std::getenv("AGGANCI_DEBUG_OUTPUT");
    if (!target || !*target || !text) return;
    // The trace is diagnostics only: a line that cannot be written is dropped and the object goes on.
    const std::string_view where(target);
    if (where == "stderr" || where == "stdout") {
        std::FILE* stream = where == "stderr" ? stderr : stdout;
        std::fputs(text, stream);
        std::fputc('\n', stream);
        std::fflush(stream);
        return;
    }
    std::ofstream file(target, std::ios::app | std::ios::binary);
    if (file) file << text << '\n';
}

std::string FormatGuid(const Guid& guid) {
    std::string id = fmt::format("{:08X}{:04X}{:04X}", guid.Data1, guid.Data2, guid.Data3);
    for (std::uint8_t byte : guid.Data4) id += fmt::format("{:02X}", byte);
    return id;
}

const std::string& TraceId::Get() {
    if (id_.empty()) id_ = Make(generator_);
    return id_;
}

std::string TraceId::Make(GuidGenerator generator) {
    Guid guid;
    if (!generator || generator(&guid) != 0) return {};
    return FormatGuid(guid);
}

std::string TraceLine(const std::string& id, TracePhase phase, std::string_view objectName) {
    return fmt::format("{}|{}|{}|{}|{}", kTracePrefix, id, phase == TracePhase::Ini ? "INI" : "TER", kProjectName,
                       objectName);
}

void WriteTraceLine(TraceId& id, TracePhase phase, std::string_view objectName) {
    OutputDebugStringA(TraceLine(id.Get(), phase, objectName).c_str());
}

}  // namespace entry
