#include "entry/Trace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <sys/random.h>

#include <fmt/format.h>

#include "entry/ComponentInfo.h"

namespace entry {

namespace {
constexpr long kGuidFailed = static_cast<long>(0x80004005L);  // E_FAIL

// Fills `bytes` from the kernel's pool: one call of getrandom, or the device file where that call is missing
// (an old kernel) or forbidden (a sandbox). False when neither can be read.
bool RandomBytes(std::uint8_t* bytes, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::getrandom(bytes + got, size - got, 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == ENOSYS || errno == EPERM)) {
            std::ifstream device("/dev/urandom", std::ios::binary);
            return static_cast<bool>(device.read(reinterpret_cast<char*>(bytes + got),
                                                 static_cast<std::streamsize>(size - got)));
        } else if (n < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Where the debug output goes; null when it is off.
const char* DebugOutputTarget() {
    const char* target = std::getenv("AGGANCI_DEBUG_OUTPUT");
    return target && *target ? target : nullptr;
}
}  // namespace

long CoCreateGuid(Guid* guid) {
    if (!guid) return kGuidFailed;
    // One read of the kernel's pool per GUID. A std::random_device made per call probed the processor first,
    // which costs tens of microseconds on a virtual machine, and an article takes a few GUIDs.
    std::uint8_t bytes[16];
    if (!RandomBytes(bytes, sizeof bytes)) return kGuidFailed;  // no entropy source: the caller's id stays empty
    guid->Data1 = static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
                  static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
    guid->Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
    // Version 4 (random) and the standard variant, as the platform marks its GUIDs.
    guid->Data3 = static_cast<std::uint16_t>(((bytes[6] & 0x0F) | 0x40) << 8 | bytes[7]);
    for (int k = 0; k < 8; ++k) guid->Data4[k] = bytes[8 + k];
    guid->Data4[0] = static_cast<std::uint8_t>((guid->Data4[0] & 0x3F) | 0x80);
    return 0;
}

void OutputDebugStringA(const char* text) {
    const char* target = DebugOutputTarget();
    if (!target || !text) return;
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
    // Digit by digit: every copied article takes one, and a formatting call per byte showed in its profile.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string id(32, '0');
    auto put = [&id](std::size_t at, std::uint32_t value, std::size_t digits) {
        for (std::size_t k = digits; k-- > 0; value >>= 4) id[at + k] = kHex[value & 0xF];
    };
    put(0, guid.Data1, 8);
    put(8, guid.Data2, 4);
    put(12, guid.Data3, 4);
    for (std::size_t k = 0; k < 8; ++k) put(16 + 2 * k, guid.Data4[k], 2);
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
    // With the output off the line goes nowhere: an engine made per article need not make its id.
    if (!DebugOutputTarget()) return;
    OutputDebugStringA(TraceLine(id.Get(), phase, objectName).c_str());
}

}  // namespace entry
