#include "erp/Procedures.h"

#include "db/ProcedureRegistry.h"
#include "erp/SpmgDuplicaArt.h"

namespace erp {

void RegisterProcedures() { db::RegisterProcedure("SPMG_DUPLICAART", SpmgDuplicaArt); }

}  // namespace erp
