#pragma once
// While a run works, Ctrl-C (or SIGTERM) asks it to stop between two articles: it closes its log and the
// command reports what was done. A second one ends the program at once, as before.
#include <csignal>

namespace app {

class StopOnInterrupt {
public:
    StopOnInterrupt();
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace app
