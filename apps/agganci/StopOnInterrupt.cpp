#include "apps/agganci/StopOnInterrupt.h"

#include "generation/RunStop.h"

namespace app {
namespace {

void AskToStop(int) { generation::RequestStop(); }

}  // namespace

StopOnInterrupt::StopOnInterrupt() {
    generation::ClearStopRequest();
    struct sigaction action {};
    action.sa_handler = AskToStop;
    sigemptyset(&action.sa_mask);
    // The second signal takes the default action: the program ends. Writes under way go on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &previousInt_);
    // A program started in the background (`agganci ... &`, nohup) keeps ignoring Ctrl-C, as it was told.
    if (previousInt_.sa_handler == SIG_IGN) sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &action, &previousTerm_);
    if (previousTerm_.sa_handler == SIG_IGN) sigaction(SIGTERM, &previousTerm_, nullptr);
}

StopOnInterrupt::~StopOnInterrupt() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

}  // namespace app
