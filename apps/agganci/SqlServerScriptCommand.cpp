// agganci sqlserver-script: the SQL Server schema and stored procedures of the ERP database, for a DBA to
// deploy (sqlcmd -i, or a query window): batches separated by GO lines.
#include <iostream>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "erp/Schema.h"
#include "erp/TsqlScripts.h"

namespace app {

void AddSqlServerScriptCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("sqlserver-script",
                                   "Print the SQL Server script of the ERP database: its tables and the stored "
                                   "procedure SPMG_DUPLICAART (see docs/SQLSERVER.md)");
    static bool procedureOnly = false;
    cmd->add_flag("--procedure-only", procedureOnly, "Only the stored procedures, for a database that has the tables");
    cmd->callback([&options] {
        const std::string script = procedureOnly ? erp::TsqlProcedureScript() : erp::SqlServerDeploymentScript();
        if (options.json) std::cout << JsonText(nlohmann::json{{"script", script}}) << "\n";
        else std::cout << script;
    });
}

}  // namespace app
