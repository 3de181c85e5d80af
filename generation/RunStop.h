#pragma once
// A stop asked from outside a run (the command line's Ctrl-C): the run ends between two items, so an article is
// never left half made, and closes its processing log as at any other end.
namespace generation {

// Safe to call from a signal handler.
void RequestStop();
bool StopRequested();
void ClearStopRequest();

}  // namespace generation
