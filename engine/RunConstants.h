#pragma once
// Company parameters that every article of a run reads and that no step of a run writes (barcode types,
// production and fashion parameters, seasons). A run keeps one of these for its articles: each statement
// is run on its first request and its rows kept until the run ends. An engine used on its own has none
// and reads the database every time. The run also keeps the statement texts it makes the same for every
// article.
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/TextHash.h"

namespace engine {

class RunConstants {
public:
    using Columns = std::shared_ptr<const std::vector<std::string>>;

    // The rows of `sql`, read on its first request of the run; every caller gets a cursor of its own.
    db::RecordsetPtr Rows(db::Connection& connection, const std::string& sql);

    // What `make` gives (a T), made on its first request of the run. `key` names everything it is made of,
    // and no other kind of thing is kept under it.
    template <typename T, typename Make>
    const T& Made(const std::string& key, Make make) {
        auto kept = made_.find(key);
        if (kept == made_.end()) kept = made_.emplace(key, std::make_shared<T>(make())).first;
        return *static_cast<const T*>(kept->second.get());
    }

    // What `make` gives (a T) for a table's `columns`, kept for the run under `key` while the table has those
    // columns and `stale` finds nothing else of the table changed since: made again otherwise, in place of what
    // was kept.
    template <typename T, typename Make, typename Stale>
    const T& MadeFor(const std::string& key, const Columns& columns, Make make, Stale stale) {
        auto kept = madeFor_.find(key);
        if (kept == madeFor_.end()) {
            kept = madeFor_.emplace(key, std::make_pair(columns, std::make_shared<T>(make()))).first;
        } else {
            // Names read again (a driver that keeps none) are compared: made again only when they differ.
            const bool sameNames = kept->second.first == columns || *kept->second.first == *columns;
            if (!sameNames || stale(*static_cast<const T*>(kept->second.second.get())))
                kept->second.second = std::make_shared<T>(make());
            if (kept->second.first != columns) kept->second.first = columns;
        }
        return *static_cast<const T*>(kept->second.second.get());
    }

    // The tables a copy by article code found no source row in, earlier in the run (SourceRows.h).
    std::vector<std::string>& ArticleTables() { return articleTables_; }

private:
    std::vector<std::string> articleTables_;
    std::unordered_map<std::string, db::RecordsetPtr, db::TextHasher, std::equal_to<>> rows_;
    std::unordered_map<std::string, std::shared_ptr<const void>, db::TextHasher, std::equal_to<>> made_;
    std::unordered_map<std::string, std::pair<Columns, std::shared_ptr<const void>>, db::TextHasher,
                       std::equal_to<>>
        madeFor_;
};

// The rows through `constants` when the caller runs inside a run, from the connection otherwise.
db::RecordsetPtr ConstantRows(RunConstants* constants, db::Connection& connection, const std::string& sql);

}  // namespace engine
