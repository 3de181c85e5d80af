#include "erp/Schema.h"

#include <sstream>

namespace erp {

namespace {

// Names following "CREATE TABLE" outside comments, in order of appearance.
std::vector<std::string> CreatedTables(const std::string& ddl) {
    static const std::string kCreate = "CREATE TABLE ";
    std::vector<std::string> names;
    std::istringstream lines(ddl);
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find("--"));
        const auto at = line.find(kCreate);
        if (at == std::string::npos) continue;
        std::istringstream rest(line.substr(at + kCreate.size()));
        std::string name;
        rest >> name;
        names.push_back(name.substr(0, name.find('(')));
    }
    return names;
}

}  // namespace

const std::string& SqliteSchemaDdl() {
    static const std::string ddl =
#include "schema_sqlite.inc"
        ;
    return ddl;
}

const std::string& TsqlSchemaDdl() {
    static const std::string ddl =
#include "schema_tsql.inc"
        ;
    return ddl;
}

std::vector<std::string> TableNames() {
    static const std::vector<std::string> names = CreatedTables(SqliteSchemaDdl());
    return names;
}

}  // namespace erp
