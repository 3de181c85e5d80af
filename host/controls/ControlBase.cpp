#include "host/controls/ControlBase.h"

namespace host::controls {

db::Error NotReachable(const std::string& controlName) {
    return db::Error(db::errc::InvalidProcedureCall,
                     "The control " + controlName + " cannot be reached: it is hidden or disabled", controlName);
}

db::Error CannotFocus(const std::string& controlName) {
    return db::Error(db::errc::InvalidProcedureCall, "Invalid procedure call or argument", controlName);
}

}  // namespace host::controls
