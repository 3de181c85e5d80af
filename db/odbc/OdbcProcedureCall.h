#pragma once
// A stored procedure call in ODBC's escape syntax: "{CALL NAME(?, ?, ...)}", or "{? = CALL NAME(...)}"
// when a parameter takes the return value. Parameters bind by position, in the order the command
// lists them (the return value first): the procedure's own declaration must list them the same way.
#include <string>
#include <vector>

#include "db/Command.h"

namespace db::odbc {

struct ProcedureCall {
    std::string sql;
    std::vector<ParameterPtr> order;  // parameter of each marker, in marker order
};

// Error 3001 when the name could break out of the call (brackets, quotes, separators) or several
// parameters take the return value.
ProcedureCall PlanProcedureCall(const std::string& name, const Parameters& parameters);

}  // namespace db::odbc
