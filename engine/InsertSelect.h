#pragma once
// The statement that copies a table's source rows to the new article in one go: INSERT INTO the table,
// with the columns the row copy would write, SELECT them from the source rows with the values the row
// copy would set put in their place.
#include <string>
#include <vector>

#include "db/Driver.h"
#include "engine/RowCopy.h"

namespace engine {

// The statement, and where the values of its markers come from: the markers of its select list in order, k >= 0
// for the text plan.set[k] gives, k < 0 for the args of plan.setSql[-1 - k]; then those of plan.sourceFrom.
struct InsertSelectStatement {
    std::string sql;
    std::vector<int> markers;
};

// `columns` are the table's columns in order, `actions` what the row copy does with each from
// plan.firstField on. An empty statement when a column's treatment cannot be written as one expression (a
// Null that leaves the default: that is decided row by row).
InsertSelectStatement InsertSelect(const CopySpec& plan, const std::vector<std::string>& columns,
                                   const std::vector<FieldAction>& actions);

// The values of the statement's markers for this plan's values, in order. A statement made for one article's
// plan serves another article's plan of the same shape.
std::vector<db::BoundValue> MarkerValues(const CopySpec& plan, const InsertSelectStatement& statement);

}  // namespace engine
