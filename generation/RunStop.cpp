#include "generation/RunStop.h"

#include <atomic>

namespace generation {
namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

void RequestStop() { stopRequested.store(true); }
bool StopRequested() { return stopRequested.load(); }
void ClearStopRequest() { stopRequested.store(false); }

}  // namespace generation
