#include "apps/agganci/Commands.h"

namespace app {
namespace {
int exitCode = 0;
}
int ExitCode() { return exitCode; }
void SetExitCode(int code) { exitCode = code; }
}  // namespace app
