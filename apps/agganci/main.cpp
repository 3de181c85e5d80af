// agganci: command line of the article generation component.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Options.h"
#include "apps/agganci/RunReport.h"
#include "db/Error.h"

namespace {

// One line on stderr; with --json the same error as a JSON object on stdout, so a script reading stdout
// always gets a document.
int Fail(const std::string& message, int code, bool json) {
    std::cerr << "agganci: " << message << "\n";
    if (json) std::cout << app::JsonText(nlohmann::json{{"error", message}, {"exitCode", code}}) << "\n";
    return code;
}

// CLI11 reports a word that is no command as "A subcommand is required": the word and the commands are named.
CLI::ExtrasError UnknownCommand(CLI::App& cli) {
    std::vector<std::string> commands;
    for (const CLI::App* c : cli.get_subcommands([](CLI::App*) { return true; })) commands.push_back(c->get_name());
    return CLI::ExtrasError(CLI::detail::join(cli.remaining(), " ") + ": not a command; the commands are " +
                                CLI::detail::join(commands, ", "),
                            CLI::ExitCodes::ExtrasError);
}

// A usage error: what is wrong and how to get help on stderr, or the JSON error.
int UsageError(CLI::App& cli, const CLI::ParseError& e, bool json) {
    // No command parsed, and words left over that none took.
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::RequiredError) && cli.get_subcommands().empty() &&
        !cli.remaining().empty())
        return UsageError(cli, UnknownCommand(cli), json);
    if (!json) return cli.exit(e);
    return Fail(e.what(), e.get_exit_code(), true);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"agganci - creates new article master records from existing ones: link generation, "
                 "article duplication and mass duplication, on a company database.\n"
                 "Exit status: 0 done; 2 the run went through but some rows or articles were not created "
                 "(each listed with its reason) or it showed an error (listed too); 1 nothing was done (an error "
                 "or a refusal, one line on stderr); "
                 "130 a run stopped by Ctrl-C between two articles; "
                 "a usage error exits 100 or above (104 a value of the wrong kind, 105 a value not valid, not "
                 "UTF-8 text or holding a control character, 106 a required argument or an option's value "
                 "missing, 108 two options that cannot go together, 109 an argument not expected)."};
    cli.require_subcommand(1);
    // Options of the whole program are accepted after the subcommand too (agganci duplicate A B --json).
    cli.fallthrough();
    app::GlobalOptions options;
    cli.add_option("--db", options.db,
                   "Company database: sqlite:PATH or odbc:CONNECTION (default sqlite:agganci-demo.db, "
                   "created with demo data when missing)");
    app::WholeNumber(cli.add_option("--company", options.company, "Company code (default 1)"), 1, 2147483647);
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

    app::RequireUtf8Text(cli);

    const app::ArgumentScan scan = app::ScanArguments(cli, argc, argv);
    // Errors go out as JSON when --json was given: as parsed, or as the scan read it when the parse stopped first.
    const auto json = [&] { return options.json || scan.json; };
    try {
        if (!scan.withoutValue.empty())
            throw CLI::RequiredError(scan.withoutValue + " needs a value", CLI::ExitCodes::RequiredError);
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return cli.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return cli.exit(e);
    } catch (const CLI::ParseError& e) {
        return UsageError(cli, e, json());
    } catch (const app::RunNotDone& e) {
        return Fail(e.what(), e.exitCode, false);  // with --json the run's object carries the error, printed already
    } catch (const db::Error& e) {
        return Fail(e.Description() + (e.Source().empty() ? std::string() : " [" + e.Source() + "]"), 1, json());
    } catch (const std::exception& e) {
        return Fail(e.what(), 1, json());
    }
    return app::ExitCode();
}
