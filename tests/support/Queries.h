#pragma once
// What a test reads back from its database: one value, a count, rows as "a|b|c" texts; and the empty
// company (schema only, procedures registered) that tests fill with exactly the rows they need.
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "erp/Schema.h"

namespace testsupport {

inline void Exec(db::Connection& c, const std::string& sql) { c.Execute(sql, nullptr, db::adExecuteNoRecords); }

// The first column of the first row; Null when there is no row.
inline db::Variant Scalar(db::Connection& c, const std::string& sql) {
    auto rs = c.Execute(sql);
    if (rs->RecordCount() == 0) return db::Variant::Null();
    rs->MoveFirst();
    return rs->GetFields().Item(0L).Value();
}

inline long Count(db::Connection& c, const std::string& sql) { return Scalar(c, sql).CLng(); }

// Every row, its columns joined by '|' (Null as "<null>").
inline std::vector<std::string> Rows(db::Connection& c, const std::string& sql) {
    std::vector<std::string> rows;
    auto rs = c.Execute(sql);
    if (rs->RecordCount() == 0) return rows;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        std::string row;
        for (long i = 0; i < rs->GetFields().Count(); ++i) {
            const db::Variant v = rs->GetFields().Item(i).Value();
            row += (i ? "|" : "") + (v.IsNull() ? std::string("<null>") : v.Text());
        }
        rows.push_back(row);
    }
    return rows;
}

// An in-memory company with every ERP table and nothing in them.
inline db::ConnectionPtr EmptyCompany() {
    erp::RegisterProcedures();
    auto c = db::Connection::Create();
    c->Open("sqlite::memory:");
    erp::CreateSchema(*c);
    return c;
}

}  // namespace testsupport
