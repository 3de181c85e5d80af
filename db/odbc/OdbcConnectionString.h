#pragma once
// ODBC connection strings ("DSN=erp;UID=sa;PWD=secret", "Driver={...};Server=...") as they may be shown
// in a message: with the password hidden.
#include <string>

namespace db::odbc {

// The string with the value of every PWD= or Password= attribute (any case, braced or not) as "***".
std::string MaskSecrets(const std::string& connectionString);

}  // namespace db::odbc
