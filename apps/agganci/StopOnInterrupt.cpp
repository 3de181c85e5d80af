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
    action.sa_flags = SA_RESETHAND;  // the second signal takes the default action: the program ends
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

StopOnInterrupt::~StopOnInterrupt() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

}  // namespace app
