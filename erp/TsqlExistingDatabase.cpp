#include "erp/TsqlExistingDatabase.h"

#include <regex>
#include <sstream>
#include <vector>

#include "db/Quote.h"
#include "erp/Schema.h"
#include "erp/TsqlScripts.h"

namespace erp {
namespace {

// The statements of the T-SQL schema without its comments and blank lines: the script ends each statement with
// a line ending in ';'.
std::vector<std::string> Statements(const std::string& ddl) {
    std::vector<std::string> statements;
    std::string current;
    std::istringstream lines(ddl);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find("--"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (line.empty()) continue;
        current += line + "\n";
        if (line.back() == ';') {
            statements.push_back(current);
            current.clear();
        }
    }
    return statements;
}

bool IsOwn(const std::string& table) { return table.rfind(kOwnTablePrefix, 0) == 0; }

// The procedures' script with each procedure created only where the database has none of that name: an ERP
// database has its own SPMG_DUPLICAART, which its other programs may call, and it is not ours to replace.
std::string ProceduresWhereMissing(const std::string& script) {
    const std::regex drop(R"(IF OBJECT_ID\('[\w.]+'\) IS NOT NULL DROP PROCEDURE [\w.]+;\n)");
    const std::regex create(R"(^CREATE PROCEDURE ([\w.]+))");
    std::string out;
    for (std::size_t start = 0; start < script.size();) {
        std::size_t end = script.find("\nGO\n", start);
        end = end == std::string::npos ? script.size() : end + 1;
        std::string batch = std::regex_replace(script.substr(start, end - start), drop, "");
        start = end + 3;
        std::smatch m;
        if (std::regex_search(batch, m, create))
            batch = "IF OBJECT_ID('" + m[1].str() + "') IS NULL EXEC(N" + db::SqlText(batch) + ");\n";
        if (batch.find_first_not_of('\n') != std::string::npos) out += batch + "GO\n";
    }
    return out;
}

}  // namespace

std::string SqlServerExistingDatabaseScript() {
    const std::regex table(R"(^CREATE\s+TABLE\s+(\w+))");
    const std::regex index(R"(^CREATE\s+(UNIQUE\s+)?INDEX\s+(\w+)\s+ON\s+(\w+))");
    std::string script =
        "-- The component's own tables for an existing ERP database, each created (with its indexes) only where it\n"
        "-- is missing, then the stored procedures, each created only where the database has none of that name (an\n"
        "-- ERP database's own SPMG_DUPLICAART stays as it is). It may run again on the same database.\n";
    for (const std::string& statement : Statements(TsqlSchemaDdl())) {
        std::smatch m;
        if (std::regex_search(statement, m, table) && IsOwn(m[1]))
            script += "IF OBJECT_ID('" + m[1].str() + "') IS NULL\n" + statement;
        else if (std::regex_search(statement, m, index) && IsOwn(m[3]))
            script += "IF INDEXPROPERTY(OBJECT_ID('" + m[3].str() + "'), '" + m[2].str() + "', 'IndexID') IS NULL\n" +
                      statement;
    }
    return script + "GO\n\n" + ProceduresWhereMissing(TsqlProcedureScript());
}

}  // namespace erp
