#pragma once
// The ERP company database this component works on, as the DDL scripts compiled into the library
// from erp/schema_sqlite.sql and erp/schema_tsql.sql.
#include <string>
#include <vector>

namespace erp {

// Whole SQLite script. Its text columns use the SQLSERVER collation, which must be registered on the
// connection before the script runs.
const std::string& SqliteSchemaDdl();

// The same tables and columns for SQL Server, as one batch.
const std::string& TsqlSchemaDdl();

// Every table of the schema, in creation order.
std::vector<std::string> TableNames();

}  // namespace erp
