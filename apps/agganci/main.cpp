// agganci: command line of the article generation component.
#include <CLI/CLI.hpp>

#include <iostream>

#include "apps/agganci/Commands.h"
#include "apps/agganci/Options.h"
#include "db/Error.h"

int main(int argc, char** argv) {
    CLI::App cli{"agganci - creates new article master records from existing ones: link generation, "
                 "article duplication and mass duplication, on a company database."};
    cli.require_subcommand(1);
    app::GlobalOptions options;
    cli.add_option("--db", options.db,
                   "Company database: sqlite:PATH or odbc:CONNECTION (default sqlite:agganci-demo.db, "
                   "created with demo data when missing)");
    cli.add_option("--company", options.company, "Company code (default 1)");
    cli.add_flag("--json", options.json, "Print results as JSON");

    app::AddDemoDbCommand(cli, options);
    app::AddDuplicateCommand(cli, options);
    app::AddLinksCommand(cli, options);
    app::AddLogCommand(cli, options);
    app::AddGenerateCommand(cli, options);
    app::AddMassCommand(cli, options);
    app::AddVariantsCommand(cli, options);
    app::AddServeCommand(cli, options);
    app::AddSqlServerScriptCommand(cli, options);

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return cli.exit(e);
    } catch (const db::Error& e) {
        std::cerr << "agganci: " << e.Description();
        if (!e.Source().empty()) std::cerr << " [" << e.Source() << "]";
        std::cerr << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "agganci: " << e.what() << "\n";
        return 1;
    }
    return app::ExitCode();
}
