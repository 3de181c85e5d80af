#pragma once
// The SQL Server side of the ERP database as a DBA deploys it: the schema (erp/schema_tsql.sql) and the
// stored procedures (erp/spmg_duplicaart.sql), batches separated by GO lines.
#include <string>

namespace erp {

const std::string& TsqlProcedureScript();

// Schema, then procedures: one script to run on an empty database with sqlcmd or a query window.
std::string SqlServerDeploymentScript();

}  // namespace erp
