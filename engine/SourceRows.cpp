#include "engine/SourceRows.h"

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/JoinText.h"
#include "db/Recordset.h"
#include "engine/RowCopy.h"
#include "engine/RunConstants.h"

namespace engine {
namespace {

// One column per table, 1 when the table has a row of the article (each EXISTS takes the code as its marker).
std::string ProbeText(const std::string& company, const std::vector<std::string>& tables) {
    std::string sql;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::string prefix = tables[i].substr(0, tables[i].find('_'));
        sql += db::JoinText({i == 0 ? "SELECT " : ", ", "CASE WHEN EXISTS (SELECT 1 FROM ", tables[i], " WHERE",
                             ArticleRowsMarkerWhere(prefix, company, {}), ") THEN 1 ELSE 0 END AS G",
                             std::to_string(i)});
    }
    return sql;
}

}  // namespace

SourceRows::SourceRows(db::Connection& connection, RunConstants& run, const std::string& company,
                       const std::string& code, const std::vector<std::string>& tables)
    : company_(company), code_(code) {
    if (tables.empty()) return;
    std::string key = "source rows\n" + company;
    for (const std::string& t : tables) key.append("\n").append(t);
    const std::string& sql = run.Made<std::string>(key, [&] { return ProbeText(company, tables); });
    const std::vector<db::BoundValue> values(tables.size(), db::BoundValue{{}, db::Variant(code)});
    auto rs = connection.ExecuteWith(sql, values, nullptr, db::kCommonSqlText);
    // No answer (there is always one row): nothing is known, every copy runs.
    if (!rs || rs->RecordCount() < 1) return;
    rs->MoveFirst();
    for (std::size_t i = 0; i < tables.size(); ++i)
        found_.emplace(tables[i], rs->GetFields().Item(static_cast<long>(i)).Value().CLng() != 0);
}

bool SourceRows::KnownEmpty(const std::string& table) const {
    const auto it = found_.find(table);
    return it != found_.end() && !it->second;
}

}  // namespace engine
