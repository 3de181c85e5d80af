#pragma once
// Rows per ERP table: every table must still be there (a missing one fails the count), and a run that
// wrote one article must have written as many rows per table as a plain value does.
#include <algorithm>
#include <map>
#include <string>

#include "Queries.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "erp/Schema.h"

namespace hostile {

using TableCounts = std::map<std::string, long>;

inline TableCounts CountRows(db::Connection& c) {
    TableCounts counts;
    for (const auto& table : erp::TableNames()) counts[table] = testsupport::Count(c, "SELECT COUNT(*) FROM " + table);
    return counts;
}

// after - before, tables without a change left out.
inline TableCounts Written(const TableCounts& before, const TableCounts& after) {
    TableCounts d;
    for (const auto& [table, n] : after)
        if (const long k = n - (before.count(table) ? before.at(table) : 0); k != 0) d[table] = k;
    return d;
}

// Articles whose code is exactly `code`, byte for byte (the collation alone compares case and trailing
// blanks loosely).
inline long ArticlesWithCode(db::Connection& c, const std::string& code) {
    const auto codes =
        testsupport::Rows(c, "SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_CODART = " + db::SqlText(code));
    return static_cast<long>(std::count(codes.begin(), codes.end(), code));
}

}  // namespace hostile
