#include "db/QueryValue.h"

#include "db/Recordset.h"

namespace db {

Variant QueryValue(Connection& connection, const std::string& sql, const Variant& whenNoRow) {
    auto rs = connection.Execute(sql);
    if (!rs || rs->RecordCount() == 0) return whenNoRow;
    rs->MoveFirst();
    return rs->GetFields().Item(0L).Value();
}

}  // namespace db
