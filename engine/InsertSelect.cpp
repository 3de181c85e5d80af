#include "engine/InsertSelect.h"

#include "db/Quote.h"

namespace engine {
namespace {

std::string Literal(const db::Variant& v) {
    if (v.IsNull()) return "NULL";
    return v.IsString() ? db::SqlText(v.Text()) : db::SqlNumber(v);
}

}  // namespace

std::string InsertSelectSql(const CopySpec& plan, const std::vector<std::string>& columns,
                            const std::vector<FieldAction>& actions) {
    std::string names, values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        // As in the row copy: the values set by name first, then the fields copied by position over them.
        std::string value;
        for (const auto& [name, set] : plan.set)
            if (db::SameText(name, columns[i])) value = Literal(set);
        if (static_cast<long>(i) >= plan.firstField) {
            switch (actions[i]) {
                case FieldAction::Copy: value = columns[i]; break;
                case FieldAction::Zero: value = '0'; break;
                case FieldAction::Skip: break;
                case FieldAction::CopyUnlessNull: return {};
            }
        }
        for (const auto& [name, expression] : plan.setSql)
            if (db::SameText(name, columns[i])) value = expression;
        if (value.empty()) continue;  // left to the table's default
        names += (names.empty() ? "" : ", ") + columns[i];
        values += (values.empty() ? "" : ", ") + value;
    }
    return "INSERT INTO " + plan.table + " (" + names + ") SELECT " + values + " " + plan.sourceFrom;
}

}  // namespace engine
