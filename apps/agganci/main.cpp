// agganci: command line of the article generation component.
#include <CLI/CLI.hpp>

#include <cstring>
#include <iostream>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/Options.h"
#include "db/Error.h"

namespace {

// One line on stderr; with --json the same error as a JSON object on stdout, so a script reading stdout
// always gets a document.
int Fail(const std::string& message, int code, bool json) {
    std::cerr << "agganci: " << message << "\n";
    if (json) std::cout << nlohmann::json{{"error", message}, {"exitCode", code}}.dump(2) << "\n";
    return code;
}

// --json is looked for in the raw arguments too: a usage error stops the parse before the flag is stored.
bool JsonAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"agganci - creates new article master records from existing ones: link generation, "
                 "article duplication and mass duplication, on a company database.\n"
                 "Exit status: 0 done; 2 the run went through but some rows or articles were not created "
                 "(each listed with its reason); 1 nothing was done (an error or a refusal, one line on stderr); "
                 "a usage error exits 100 or above (104 a value of the wrong kind, 105 a value not valid, 106 a "
                 "required argument missing, 109 an argument not expected)."};
    cli.require_subcommand(1);
    // Options of the whole program are accepted after the subcommand too (agganci duplicate A B --json).
    cli.fallthrough();
    app::GlobalOptions options;
    cli.add_option("--db", options.db,
                   "Company database: sqlite:PATH or odbc:CONNECTION (default sqlite:agganci-demo.db, "
                   "created with demo data when missing)");
    cli.add_option("--company", options.company, "Company code (default 1)")
        ->check(CLI::Range(1L, 2147483647L));
    cli.add_flag("--json", options.json, "Print results, and errors, as JSON on stdout");
    cli.add_flag("--quiet", options.quiet, "No progress on stderr while a run works");

    app::AddDemoDbCommand(cli, options);
    app::AddDuplicateCommand(cli, options);
    app::AddLinksCommand(cli, options);
    app::AddLogCommand(cli, options);
    app::AddGenerateCommand(cli, options);
    app::AddMassCommand(cli, options);
    app::AddVariantsCommand(cli, options);
    app::AddArticlesCommand(cli, options);
    app::AddShowCommand(cli, options);
    app::AddServeCommand(cli, options);
    app::AddSqlServerScriptCommand(cli, options);

    const bool json = JsonAsked(argc, argv);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return cli.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return cli.exit(e);
    } catch (const CLI::ParseError& e) {
        if (!json) return cli.exit(e);
        return Fail(e.what(), e.get_exit_code(), true);
    } catch (const db::Error& e) {
        return Fail(e.Description() + (e.Source().empty() ? std::string() : " [" + e.Source() + "]"), 1, json);
    } catch (const std::exception& e) {
        return Fail(e.what(), 1, json);
    }
    return app::ExitCode();
}
