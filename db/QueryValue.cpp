#include "db/QueryValue.h"

#include "db/Recordset.h"

namespace db {

Variant QueryValue(Connection& connection, const std::string& sql, const Variant& whenNoRow) {
    return FirstValue(connection.Execute(sql), whenNoRow);
}

Variant FirstValue(const RecordsetPtr& rows, const Variant& whenNoRow) {
    if (!rows || rows->RecordCount() == 0) return whenNoRow;
    rows->MoveFirst();
    return rows->GetFields().Item(0L).Value();
}

}  // namespace db
