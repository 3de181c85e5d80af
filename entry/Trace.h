#pragma once
// Lifetime trace: each program object, engine and form writes one line when it is created and one when it
// ends, tagged with an id of its own, so a support engineer can pair the two in the debug output.
#include <cstdint>
#include <string>
#include <string_view>

namespace entry {

struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};
};

// Fills the GUID; returns 0 on success, non-zero on failure (as the platform's result codes).
using GuidGenerator = long (*)(Guid* guid);

// The platform's GUID generator: a random (version 4) GUID read from the system's entropy source (getrandom,
// the pool behind /dev/urandom). Non-zero when the entropy source cannot be used.
long CoCreateGuid(Guid* guid);

// The platform's debug output: writes the text and a newline to where AGGANCI_DEBUG_OUTPUT says
// ("stderr", "stdout" or a file path, appended); nothing when the variable is unset or empty.
void OutputDebugStringA(const char* text);

// 32 upper-case hexadecimal digits: the three first fields padded to 8, 4 and 4 digits, then each byte
// of the last field as two digits.
std::string FormatGuid(const Guid& guid);

// The trace id of one object: made on first use and kept, so the creation and end lines carry the same id.
class TraceId {
public:
    explicit TraceId(GuidGenerator generator = CoCreateGuid) : generator_(generator) {}

    // The stored id; made now when still empty (a failed attempt leaves it empty and is tried again later).
    const std::string& Get();
    // A new id, or "" when the generator fails.
    static std::string Make(GuidGenerator generator);

private:
    GuidGenerator generator_;
    std::string id_;
};

enum class TracePhase { Ini, Ter };

// "KVGE:|<id>|INI|Vintrello|<objectName>" (TER at the end).
std::string TraceLine(const std::string& id, TracePhase phase, std::string_view objectName);

// Writes the trace line of the object to the debug output.
void WriteTraceLine(TraceId& id, TracePhase phase, std::string_view objectName);

}  // namespace entry
