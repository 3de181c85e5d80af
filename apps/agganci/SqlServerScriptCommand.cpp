// agganci sqlserver-script: the SQL Server schema and stored procedures of the ERP database, for a DBA to
// deploy (sqlcmd -i, or a query window): batches separated by GO lines. The whole script is for an empty
// database; an ERP database has its own tables and gets only the component's tables and the procedures.
#include <iostream>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "erp/Schema.h"
#include "erp/TsqlExistingDatabase.h"
#include "erp/TsqlScripts.h"

namespace app {

void AddSqlServerScriptCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("sqlserver-script",
                                   "Print the SQL Server script of the ERP database: its tables and the stored "
                                   "procedure SPMG_DUPLICAART, for an empty database (see docs/SQLSERVER.md)");
    static bool procedureOnly = false;
    static bool existingDatabase = false;
    auto* existing = cmd->add_flag("--existing-database", existingDatabase,
                                   "For an ERP database: the component's own tables and the stored procedures, each "
                                   "created only where it is missing (the ERP's own SPMG_DUPLICAART stays as it is)");
    cmd->add_flag("--procedure-only", procedureOnly,
                  "Only the stored procedures, dropped and created again, for a database that has every table, "
                  "the component's own included")
        ->excludes(existing);
    cmd->callback([&options] {
        const std::string script = procedureOnly      ? erp::TsqlProcedureScript()
                                   : existingDatabase ? erp::SqlServerExistingDatabaseScript()
                                                      : erp::SqlServerDeploymentScript();
        if (options.json) std::cout << JsonText(nlohmann::json{{"script", script}}) << "\n";
        else std::cout << script;
    });
}

}  // namespace app
