#pragma once
// A stop asked from outside a run (the command line's Ctrl-C): the run ends between two items, so an article is
// never left half made, and closes its processing log as at any other end.
#include <atomic>

namespace generation {

// Safe to call from a signal handler. Stops the runs of every thread.
void RequestStop();
bool StopRequested();
void ClearStopRequest();

// A stop of the calling thread's runs only (a browser form released while its run works, with other forms
// running in the same process): until called again, a run on this thread also stops once `flag` is set.
// Nothing (nullptr) watches no flag.
void WatchStopFlag(const std::atomic<bool>* flag);

}  // namespace generation
