#include "db/odbc/OdbcProcedureCall.h"

#include "db/AdoErrors.h"

namespace db::odbc {

ProcedureCall PlanProcedureCall(const std::string& name, const Parameters& parameters) {
    if (name.empty() || name.find_first_of("(){};'\"\r\n?") != std::string::npos) {
        throw ado::ArgumentError("(stored procedure name '" + name + "')");
    }
    ProcedureCall call;
    for (const ParameterPtr& p : parameters.All()) {
        if (p->Direction() != adParamReturnValue) continue;
        if (!call.order.empty()) throw ado::ArgumentError("(more than one parameter takes the return value of " + name + ")");
        call.order.push_back(p);
    }
    const bool returns = !call.order.empty();
    std::string markers;
    for (const ParameterPtr& p : parameters.All()) {
        if (p->Direction() == adParamReturnValue) continue;
        markers += markers.empty() ? "?" : ", ?";
        call.order.push_back(p);
    }
    call.sql = std::string(returns ? "{? = CALL " : "{CALL ") + name + (markers.empty() ? "" : "(" + markers + ")") + "}";
    return call;
}

}  // namespace db::odbc
