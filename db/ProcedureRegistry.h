#pragma once
// Stored procedures of the embedded database: the database side registers them by name, the
// SQLite driver runs them for a Command of type adCmdStoredProc. (On SQL Server they are real.)
#include <functional>
#include <string>

namespace db {

class Connection;
class Parameters;

using StoredProcedure = std::function<void(Connection& connection, Parameters& parameters)>;

void RegisterProcedure(const std::string& name, StoredProcedure procedure);  // replaces one of the same name
const StoredProcedure* FindProcedure(const std::string& name);               // case-insensitive; nullptr when unknown

}  // namespace db
