#pragma once
// The columns of every table, read once from the schema script compiled into the library.
#include <string>
#include <vector>

namespace erp {

struct ColumnDef {
    std::string name;
    bool hasDefault = false;
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
};

const std::vector<TableDef>& SchemaTables();
const TableDef* FindTable(const std::string& name);  // nullptr when the schema has no such table

}  // namespace erp
