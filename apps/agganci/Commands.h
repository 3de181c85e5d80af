#pragma once
// Subcommands of agganci. Each registers itself on the app; its callback runs the work.
#include <CLI/CLI.hpp>

#include "apps/agganci/Options.h"

namespace app {

void AddDemoDbCommand(CLI::App& cli, GlobalOptions& options);
void AddDuplicateCommand(CLI::App& cli, GlobalOptions& options);
void AddLinksCommand(CLI::App& cli, GlobalOptions& options);
void AddLogCommand(CLI::App& cli, GlobalOptions& options);
void AddGenerateCommand(CLI::App& cli, GlobalOptions& options);
void AddMassCommand(CLI::App& cli, GlobalOptions& options);
void AddVariantsCommand(CLI::App& cli, GlobalOptions& options);
void AddArticlesCommand(CLI::App& cli, GlobalOptions& options);
void AddShowCommand(CLI::App& cli, GlobalOptions& options);
void AddServeCommand(CLI::App& cli, GlobalOptions& options);
void AddSqlServerScriptCommand(CLI::App& cli, GlobalOptions& options);

// Exit code the last command asked for (0 unless it reported a failure itself).
int ExitCode();
void SetExitCode(int code);

}  // namespace app
