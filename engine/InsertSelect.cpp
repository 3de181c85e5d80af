#include "engine/InsertSelect.h"

#include "db/Quote.h"

namespace engine {
namespace {

std::string Literal(const db::Variant& v) {
    if (v.IsNull()) return "NULL";
    return v.IsString() ? db::SqlText(v.Text()) : db::SqlNumber(v);
}

// The value given by name to `column`, the last one named when several are; null when none is.
template <typename Pairs>
const typename Pairs::value_type* NamedIn(const Pairs& pairs, const std::string& column) {
    const typename Pairs::value_type* found = nullptr;
    for (const auto& pair : pairs)
        if (db::SameText(pair.first, column)) found = &pair;
    return found;
}

}  // namespace

std::string InsertSelectSql(const CopySpec& plan, const std::vector<std::string>& columns,
                            const std::vector<FieldAction>& actions) {
    std::string names, values;
    names.reserve(columns.size() * 24);
    values.reserve(columns.size() * 24);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        // As in the row copy: the values set by name first, then the fields copied by position over them,
        // then the last touches.
        std::string value;
        if (const auto* set = NamedIn(plan.set, columns[i])) value = Literal(set->second);
        if (static_cast<long>(i) >= plan.firstField) {
            switch (actions[i]) {
                case FieldAction::Copy: value = columns[i]; break;
                case FieldAction::Zero: value = '0'; break;
                case FieldAction::Skip: break;
                case FieldAction::CopyUnlessNull: return {};
            }
        }
        if (const auto* expression = NamedIn(plan.setSql, columns[i])) value = expression->second;
        if (value.empty()) continue;  // left to the table's default
        if (!names.empty()) {
            names += ", ";
            values += ", ";
        }
        names += columns[i];
        values += value;
    }
    std::string sql;
    sql.reserve(names.size() + values.size() + plan.table.size() + plan.sourceFrom.size() + 32);
    sql.append("INSERT INTO ").append(plan.table).append(" (").append(names).append(") SELECT ").append(values);
    sql.append(" ").append(plan.sourceFrom);
    return sql;
}

}  // namespace engine
