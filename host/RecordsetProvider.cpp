#include "host/RecordsetProvider.h"

#include "db/Recordset.h"

namespace host {

db::RecordsetPtr RecordsetProvider::Recordset() {
    auto rs = db::Recordset::Create();
    rs->CursorLocation(db::adUseClient);
    rs->CursorType(db::adOpenStatic);
    rs->LockType(db::adLockBatchOptimistic);
    return rs;
}

}  // namespace host
