#pragma once
// Stored procedures of the ERP database, registered with the embedded driver.

namespace erp {

// Registers SPMG_DUPLICAART (and any other procedure of the database). Safe to call more than once.
void RegisterProcedures();

}  // namespace erp
