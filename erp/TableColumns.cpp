#include "erp/TableColumns.h"

#include <algorithm>
#include <sstream>

#include "db/Variant.h"
#include "erp/Schema.h"

namespace erp {
namespace {

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The scripts keep one column per line: "    NAME   TYPE ...", constraints on lines of their own.
std::vector<TableDef> Parse(const std::string& ddl) {
    std::vector<TableDef> tables;
    std::istringstream in(ddl);
    std::string line;
    TableDef* current = nullptr;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "CREATE") {
            std::string kind, name;
            words >> kind >> name;
            if (kind == "TABLE") {
                tables.push_back({name.substr(0, name.find('(')), {}});
                current = &tables.back();
            }
            continue;
        }
        if (!current) continue;
        if (StartsWith(first, ")")) {
            current = nullptr;
            continue;
        }
        if (first.empty() || StartsWith(first, "--") || first == "CONSTRAINT" || first == "PRIMARY" ||
            first == "UNIQUE")
            continue;
        current->columns.push_back({first, Upper(line).find(" DEFAULT ") != std::string::npos});
    }
    return tables;
}

}  // namespace

const std::vector<TableDef>& SchemaTables() {
    static const std::vector<TableDef> tables = Parse(SqliteSchemaDdl());
    return tables;
}

const TableDef* FindTable(const std::string& name) {
    for (const auto& t : SchemaTables())
        if (db::SameText(t.name, name)) return &t;
    return nullptr;
}

}  // namespace erp
