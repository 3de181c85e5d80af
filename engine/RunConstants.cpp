#include "engine/RunConstants.h"

namespace engine {

db::RecordsetPtr RunConstants::Rows(db::Connection& connection, const std::string& sql) {
    auto kept = rows_.find(sql);
    if (kept == rows_.end()) kept = rows_.emplace(sql, connection.Execute(sql, nullptr, db::adCmdText)).first;
    // A clone shares the rows read: closing or moving it leaves the kept one as it is.
    return kept->second->Clone();
}

db::RecordsetPtr ConstantRows(RunConstants* constants, db::Connection& connection, const std::string& sql) {
    return constants ? constants->Rows(connection, sql) : connection.Execute(sql, nullptr, db::adCmdText);
}

}  // namespace engine
