#pragma once
// Scripts for SQL Server (schema, procedures) separate their batches with lines that hold only GO, a
// word of the client tools that the server itself does not know.
#include <string>
#include <vector>

namespace db::odbc {

// The batches of the script, in order, without the GO lines; blank batches are left out.
// "GO" is matched case-insensitively on a line of its own (blanks around it allowed).
std::vector<std::string> SplitBatches(const std::string& script);

}  // namespace db::odbc
