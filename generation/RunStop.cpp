#include "generation/RunStop.h"

namespace generation {
namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

thread_local const std::atomic<bool>* watched = nullptr;

}  // namespace

void RequestStop() { stopRequested.store(true); }
bool StopRequested() { return stopRequested.load() || (watched && watched->load()); }
void ClearStopRequest() { stopRequested.store(false); }
void WatchStopFlag(const std::atomic<bool>* flag) { watched = flag; }

}  // namespace generation
