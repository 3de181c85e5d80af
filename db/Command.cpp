#include "db/Command.h"

#include "db/AdoErrors.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"

namespace db {

std::shared_ptr<Command> Command::Create() { return std::make_shared<Command>(); }

ParameterPtr Command::CreateParameter(const std::string& name, long type, long direction, long size,
                                      const Variant& value) {
    return std::make_shared<Parameter>(name, type, direction, size, value);
}

std::shared_ptr<Recordset> Command::Execute(long* recordsAffected, long options) {
    if (!connection_ || connection_->State() != adStateOpen) throw ado::ConnectionError();
    if (type_ == adCmdStoredProc) {
        try {
            connection_->DriverForStatement().CallProcedure(*connection_, text_, parameters_);
        } catch (const Error& e) {
            connection_->RecordError(e);
            throw;
        }
        if (recordsAffected) *recordsAffected = -1;  // a procedure reports no count
        if (options != adOptionUnspecified && (options & adExecuteNoRecords)) return nullptr;
        return Recordset::FromResult(StatementResult{}, text_, connection_);
    }

    std::vector<BoundValue> values;
    for (const ParameterPtr& p : parameters_.All()) {
        if (p->Direction() == adParamOutput || p->Direction() == adParamReturnValue) continue;
        values.push_back({named_ ? p->Name() : std::string(), p->Value()});
    }
    const std::string text = type_ == adCmdTable ? "SELECT * FROM " + text_ : text_;
    return connection_->ExecuteWith(text, values, recordsAffected, options);
}

}  // namespace db
