#pragma once
// Rows of a table copied within the table by one statement: "INSERT INTO T (...) SELECT ... FROM T WHERE ...".
// The columns are the table's own, read from the database, so a column added to the table is carried over
// too. Used by the shell's identifier, cycle and bill-of-materials services.
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"

namespace host {

struct ColumnValue {
    std::string column;
    std::string expression;  // SQL text of the new value: literals quoted (db::SqlText, db::SqlNumber) or '?'
    std::vector<db::Variant> args = {};  // the values of the expression's '?' markers, in order
};

// Copies the rows of `table` that `where` selects. A column in `values` gets its expression, a column in
// `defaults` is left out (the table's default or identity applies), every other column keeps the source
// row's value. A name in `values` or `defaults` that is not a column of the table is an error (3265).
// `whereArgs` are the values of the condition's '?' markers. Values kept apart from the text leave it the same
// for every article, so the connection prepares it once.
// `commonSql`: the expressions and the condition are common SQL (db/CommonSql.h), so the statement needs no
// T-SQL translation. Returns the number of rows written.
long CopyRows(db::Connection& connection, const std::string& table, const std::vector<ColumnValue>& values,
              const std::vector<std::string>& defaults, const std::string& where, bool commonSql = false,
              const std::vector<db::Variant>& whereArgs = {});

}  // namespace host
