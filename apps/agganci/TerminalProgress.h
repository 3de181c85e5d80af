#pragma once
// The run's progress bar shown on stderr while a command works: a bar redrawn in place on a terminal,
// one plain line per step otherwise (a log file, a pipe); nothing with --quiet.
#include "host/HeadlessShell.h"

namespace app {

// Makes the shell's progress bars draw on stderr; does nothing when quiet.
void ShowProgressOnStderr(host::HeadlessShell& shell, bool quiet);

}  // namespace app
