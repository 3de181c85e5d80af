#pragma once
// How thorough the fault sweeps are. AGGANCI_RELIABILITY_FULL=1 asks for a failure at every statement; by
// default the sweeps sample, so that the suite stays short in every build (the sanitizer build included).
#include <cstdlib>
#include <string>

namespace testsupport {

inline bool FullSweep() {
    const char* full = std::getenv("AGGANCI_RELIABILITY_FULL");
    return full && std::string(full) == "1";
}

// The distance between the statements a sampled sweep fails: 1 (every one) for a full sweep.
inline long SweepStride(long sampled) { return FullSweep() ? 1 : sampled; }

}  // namespace testsupport
