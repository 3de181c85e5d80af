#pragma once
// Company parameters that every article of a run reads and that no step of a run writes (barcode types,
// production and fashion parameters, seasons). A run keeps one of these for its articles: each statement
// is run on its first request and its rows kept until the run ends. An engine used on its own has none
// and reads the database every time.
#include <string>
#include <unordered_map>

#include "db/Connection.h"
#include "db/Recordset.h"

namespace engine {

class RunConstants {
public:
    // The rows of `sql`, read on its first request of the run; every caller gets a cursor of its own.
    db::RecordsetPtr Rows(db::Connection& connection, const std::string& sql);

private:
    std::unordered_map<std::string, db::RecordsetPtr> rows_;
};

// The rows through `constants` when the caller runs inside a run, from the connection otherwise.
db::RecordsetPtr ConstantRows(RunConstants* constants, db::Connection& connection, const std::string& sql);

}  // namespace engine
