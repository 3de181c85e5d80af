#include "engine/InsertSelect.h"

#include <string_view>

#include "db/InsertSelectText.h"
#include "db/Quote.h"

namespace engine {
namespace {

std::string Literal(const db::Variant& v) {
    if (v.IsNull()) return "NULL";
    return v.IsString() ? db::SqlText(v.Text()) : db::SqlNumber(v);
}

// The pair that names each column, the last one when several name it; null for a column none names. Each name
// is looked for once among the columns (a table never has two of the same name), not each column among the names.
template <typename Pairs>
std::vector<const typename Pairs::value_type*> NamedColumns(const Pairs& pairs,
                                                            const std::vector<std::string>& columns) {
    std::vector<const typename Pairs::value_type*> named(columns.size(), nullptr);
    for (const auto& pair : pairs)
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (db::SameText(pair.first, columns[i])) {
                named[i] = &pair;
                break;
            }
    return named;
}

}  // namespace

std::string InsertSelectSql(const CopySpec& plan, const std::vector<std::string>& columns,
                            const std::vector<FieldAction>& actions) {
    db::InsertSelectText text(columns.size());
    const auto set = NamedColumns(plan.set, columns);
    const auto setSql = NamedColumns(plan.setSql, columns);
    std::string literal;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        // As in the row copy: the values set by name first, then the fields copied by position over them,
        // then the last touches.
        std::string_view value;
        if (set[i]) value = literal = Literal(set[i]->second);
        if (static_cast<long>(i) >= plan.firstField) {
            switch (actions[i]) {
                case FieldAction::Copy: value = columns[i]; break;
                case FieldAction::Zero: value = "0"; break;
                case FieldAction::Skip: break;
                case FieldAction::CopyUnlessNull: return {};
            }
        }
        if (setSql[i]) value = setSql[i]->second;
        if (value.empty()) continue;  // left to the table's default
        text.Add(columns[i], value);
    }
    return text.Statement(plan.table, plan.sourceFrom);
}

}  // namespace engine
