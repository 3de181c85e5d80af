#pragma once
// The statement that copies a table's source rows to the new article in one go: INSERT INTO the table,
// with the columns the row copy would write, SELECT them from the source rows with the values the row
// copy would set put in their place.
#include <string>
#include <vector>

#include "engine/RowCopy.h"

namespace engine {

// `columns` are the table's columns in order, `actions` what the row copy does with each from
// plan.firstField on. Empty when a column's treatment cannot be written as one expression (a Null that
// leaves the default: that is decided row by row).
std::string InsertSelectSql(const CopySpec& plan, const std::vector<std::string>& columns,
                            const std::vector<FieldAction>& actions);

}  // namespace engine
