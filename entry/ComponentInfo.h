#pragma once
// Names the component shows to the user and writes to the trace: kept in one place.

namespace entry {

// Title and description of the component, as the error box shows them.
inline constexpr const char* kComponentTitle = "Agganci";
inline constexpr const char* kComponentDescription = "Generazione articoli da agganci";

// Project name and prefix of the lifetime trace lines.
inline constexpr const char* kProjectName = "Vintrello";
inline constexpr const char* kTracePrefix = "KVGE:";

}  // namespace entry
