#pragma once
// The one value a statement returns: the first field of its first row.
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"

namespace db {

// `whenNoRow` when the statement returns no row (Empty unless the caller says otherwise).
Variant QueryValue(Connection& connection, const std::string& sql, const Variant& whenNoRow = Variant());
// The same of rows already read (a null recordset has no row).
Variant FirstValue(const RecordsetPtr& rows, const Variant& whenNoRow = Variant());

}  // namespace db
