#pragma once
// Recordset provider of the shell: new recordsets preset for editing rows locally and writing them in one
// batch (client cursor, static, batch optimistic).
#include "entry/HostInterfaces.h"

namespace host {

class RecordsetProvider : public entry::IRecordsetProvider {
public:
    db::RecordsetPtr Recordset() override;
};

}  // namespace host
