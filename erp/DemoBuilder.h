#pragma once
// Builds a demo company database: the schema, the company settings and data for every path of the component.
#include <string>

#include "db/Connection.h"

namespace erp {

struct DemoOptions {
    long company = 1;
    long extraArticles = 0;  // generated articles with full satellite data, for benchmarks
};

// Creates every table of the ERP schema on an empty database.
void CreateSchema(db::Connection& connection);

// A company database made by an earlier version gets the tables and indexes added since (SQLite; a SQL
// Server company is upgraded with the T-SQL script). What exists already is left as it is.
void CreateMissingTables(db::Connection& connection);

// Schema plus demo data. Returns a one-line summary of what was created.
std::string BuildDemoDatabase(db::Connection& connection, const DemoOptions& options);

}  // namespace erp
