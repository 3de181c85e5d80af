#pragma once
// The SQL Server script for an ERP database that has its tables already: the component's own tables, which no
// ERP database has, each created only where it is missing, then the stored procedures, each created only where
// the database has none of that name.
#include <string>

namespace erp {

// The component's own tables (its settings, the notes linked to identifiers, what a generation created) are the
// tables of the schema whose names start with this prefix.
inline constexpr const char* kOwnTablePrefix = "AG";

// Tables and indexes as erp/schema_tsql.sql declares them, each behind a test that it is missing, so the script
// can run again on the same database (after an upgrade, say); then the procedures where missing (a newer version
// of the component's own procedures goes in with the procedures' script alone). Batches end at GO lines.
std::string SqlServerExistingDatabaseScript();

}  // namespace erp
