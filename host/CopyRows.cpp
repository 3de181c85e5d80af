#include "host/CopyRows.h"

#include <algorithm>

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/InsertSelectText.h"
#include "db/JoinText.h"
#include "db/Recordset.h"

namespace host {
namespace {

bool SameName(const std::string& a, const std::string& b) { return db::SameText(a, b); }

}  // namespace

long CopyRows(db::Connection& connection, const std::string& table, const std::vector<ColumnValue>& values,
              const std::vector<std::string>& defaults, const std::string& where, bool commonSql,
              const std::vector<db::Variant>& whereArgs) {
    // The column names from the connection: no statement to translate and no recordset to fill for them.
    const auto kept = connection.TableColumns(table);
    const std::vector<std::string>& names = *kept;
    const auto known = [&](const std::string& name) {
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); }))
            throw db::Error(db::errc::ItemNotFound, "Colonna " + name + " inesistente nella tabella " + table,
                            "CopyRows");
    };
    for (const auto& v : values) known(v.column);
    for (const auto& d : defaults) known(d);

    db::InsertSelectText text(names.size());
    std::vector<db::BoundValue> bound;  // the markers' values in the order of the text
    for (const std::string& name : names) {
        if (std::any_of(defaults.begin(), defaults.end(), [&](const std::string& d) { return SameName(d, name); }))
            continue;
        const auto value =
            std::find_if(values.begin(), values.end(), [&](const ColumnValue& v) { return SameName(v.column, name); });
        text.Add(name, value == values.end() ? name : value->expression);
        if (value != values.end())
            for (const db::Variant& arg : value->args) bound.push_back({{}, arg});
    }
    for (const db::Variant& arg : whereArgs) bound.push_back({{}, arg});
    long written = 0;
    connection.ExecuteWith(text.Statement(table, db::JoinText({"FROM ", table, " WHERE ", where})), bound, &written,
                           commonSql ? db::kCommonSqlText | db::adExecuteNoRecords : db::adExecuteNoRecords);
    return written;
}

}  // namespace host
