#pragma once
// Every row of every ERP table as text: two snapshots are equal only when the database holds exactly
// the same data, which is how the fault tests prove that a failure left nothing behind.
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/Schema.h"

namespace testsupport {

inline std::string DatabaseSnapshot(db::Connection& c) {
    std::string out;
    for (const auto& table : erp::TableNames()) {
        auto rs = c.Execute("SELECT * FROM " + table + " ORDER BY 1, 2");
        out += "#" + table + "\n";
        if (rs->RecordCount() == 0) continue;
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
            const long n = rs->GetFields().Count();
            for (long i = 0; i < n; ++i) {
                const db::Variant v = rs->GetFields().Item(i).Value();
                out += v.IsNull() ? "<null>" : v.Text();
                out += '|';
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace testsupport
