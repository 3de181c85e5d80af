#pragma once
// A demo company in memory with a few benchmark articles, and the row counts of every table, for the
// benchmark's own tests.
#include <map>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace benchtest {

inline db::ConnectionPtr BenchCompany(long articles) {
    host::InstallShellHost();
    erp::RegisterProcedures();
    auto c = db::Connection::Create();
    c->Open("sqlite::memory:");
    erp::BuildDemoDatabase(*c, erp::DemoOptions{1, articles});
    return c;
}

inline std::map<std::string, long> RowCounts(db::Connection& c) {
    std::vector<std::string> tables;
    auto names = c.Execute("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'");
    for (names->MoveFirst(); !names->EOF(); names->MoveNext()) tables.push_back(names->GetFields()[0L].Value().Text());
    std::map<std::string, long> counts;
    for (const auto& t : tables) counts[t] = c.Execute("SELECT COUNT(*) FROM " + t)->GetFields()[0L].Value().CLng();
    return counts;
}

// Rows added per table between two counts (tables without new rows left out).
inline std::map<std::string, long> Added(const std::map<std::string, long>& before,
                                         const std::map<std::string, long>& after) {
    std::map<std::string, long> added;
    for (const auto& [table, n] : after) {
        const auto b = before.find(table);
        const long was = b == before.end() ? 0 : b->second;
        if (n != was) added[table] = n - was;
    }
    return added;
}

inline long Scalar(db::Connection& c, const std::string& sql) {
    return c.Execute(sql)->GetFields()[0L].Value().CLng();
}

}  // namespace benchtest
