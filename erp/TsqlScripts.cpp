#include "erp/TsqlScripts.h"

#include "erp/Schema.h"

namespace erp {

const std::string& TsqlProcedureScript() {
    static const std::string script =
#include "spmg_duplicaart.inc"
        ;
    return script;
}

std::string SqlServerDeploymentScript() {
    std::string schema = TsqlSchemaDdl();
    while (!schema.empty() && (schema.back() == '\n' || schema.back() == ' ')) schema.pop_back();
    return schema + "\nGO\n\n" + TsqlProcedureScript();
}

}  // namespace erp
