#pragma once
// The statements that write one recordset row through ODBC: INSERT, UPDATE or DELETE located by the key,
// and the read of what the database made of a new row.
#include <string>
#include <vector>

#include "db/Driver.h"
#include "db/odbc/OdbcDialect.h"

namespace db::odbc {

struct RowWritePlan {
    std::string sql;
    std::vector<BoundValue> values;
    // Update and Delete without a primary key: the statement may meet several equal rows. SQL Server
    // writes only the first (TOP (1)); elsewhere more than one row changed is an error.
    bool firstRowOnly = false;
    // Insert on SQL Server into a table whose one-column key the database makes (an identity): sql is
    // a batch that ends with the SELECT of the new row by SCOPE_IDENTITY(), which only that batch sees.
    bool readBackInBatch = false;
    // Otherwise, the SELECT of the new row by the key values the insert gave; empty when it cannot be
    // found again (no key, or a key the database makes on a server without SCOPE_IDENTITY()).
    std::string readBackSql;
    std::vector<BoundValue> readBackValues;
};

// primaryKey: the table's key columns, needed only for an Insert with readBack.
RowWritePlan PlanRowWrite(const RowWrite& write, const std::vector<std::string>& primaryKey, const SqlDialect& dialect);

}  // namespace db::odbc
