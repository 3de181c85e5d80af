#include "engine/InsertSelect.h"

#include <optional>
#include <string_view>

#include "db/InsertSelectText.h"
#include "db/Quote.h"

namespace engine {
namespace {

std::string Literal(const db::Variant& v) {
    if (v.IsNull()) return "NULL";
    return v.IsString() ? db::SqlText(v.Text()) : db::SqlNumber(v);
}

// A text set by name goes in as a marker when the plan keeps its values apart: codes and descriptions change
// from article to article, the company and the numbers of a run do not.
bool AsMarker(const CopySpec& plan, const db::Variant& v) { return plan.valuesApart && v.IsString(); }

// The pair that names each column, the last one when several name it; null for a column none names. Each name
// is looked for once among the columns (a table never has two of the same name), not each column among the names.
template <typename Named, typename NameOf>
std::vector<const Named*> NamedColumns(const std::vector<Named>& named, const std::vector<std::string>& columns,
                                       NameOf nameOf) {
    std::vector<const Named*> found(columns.size(), nullptr);
    for (const auto& item : named)
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (db::SameText(nameOf(item), columns[i])) {
                found[i] = &item;
                break;
            }
    return found;
}

// What each column of the copy gets, decided as the row copy decides it: the values set by name first, then
// the fields copied by position over them, then the last touches. An index into plan.set or plan.setSql.
struct ColumnValue {
    enum class Kind { Default, Set, Source, Zero, Expression } kind = Kind::Default;
    std::size_t index = 0;
};

// None when a column's treatment cannot be written as one expression.
std::optional<std::vector<ColumnValue>> ColumnValues(const CopySpec& plan, const std::vector<std::string>& columns,
                                                     const std::vector<FieldAction>& actions) {
    const auto set = NamedColumns(plan.set, columns, [](const auto& p) -> const std::string& { return p.first; });
    const auto setSql = NamedColumns(plan.setSql, columns, [](const SqlValue& v) -> const std::string& {
        return v.column;
    });
    std::vector<ColumnValue> chosen(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        ColumnValue& c = chosen[i];
        if (set[i]) c = {ColumnValue::Kind::Set, static_cast<std::size_t>(set[i] - plan.set.data())};
        if (static_cast<long>(i) >= plan.firstField) {
            switch (actions[i]) {
                case FieldAction::Copy: c = {ColumnValue::Kind::Source, 0}; break;
                case FieldAction::Zero: c = {ColumnValue::Kind::Zero, 0}; break;
                case FieldAction::Skip: break;
                case FieldAction::CopyUnlessNull: return std::nullopt;
            }
        }
        if (setSql[i]) c = {ColumnValue::Kind::Expression, static_cast<std::size_t>(setSql[i] - plan.setSql.data())};
    }
    return chosen;
}

}  // namespace

InsertSelectStatement InsertSelect(const CopySpec& plan, const std::vector<std::string>& columns,
                                   const std::vector<FieldAction>& actions) {
    const auto chosen = ColumnValues(plan, columns, actions);
    if (!chosen) return {};
    InsertSelectStatement statement;
    db::InsertSelectText text(columns.size());
    std::string literal;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnValue& c = (*chosen)[i];
        const int k = static_cast<int>(c.index);
        switch (c.kind) {
            case ColumnValue::Kind::Default: continue;  // left to the table's default
            case ColumnValue::Kind::Set: {
                const db::Variant& value = plan.set[c.index].second;
                if (AsMarker(plan, value)) statement.markers.push_back(k);
                text.Add(columns[i], AsMarker(plan, value) ? std::string_view("?") : (literal = Literal(value)));
                break;
            }
            case ColumnValue::Kind::Source: text.Add(columns[i], columns[i]); break;
            case ColumnValue::Kind::Zero: text.Add(columns[i], "0"); break;
            case ColumnValue::Kind::Expression:
                if (plan.valuesApart && !plan.setSql[c.index].args.empty()) statement.markers.push_back(-1 - k);
                text.Add(columns[i], plan.setSql[c.index].expression);
                break;
        }
    }
    statement.sql = text.Statement(plan.table, plan.sourceFrom);
    return statement;
}

std::vector<db::BoundValue> MarkerValues(const CopySpec& plan, const InsertSelectStatement& statement) {
    std::vector<db::BoundValue> values;
    if (!plan.valuesApart) return values;
    std::size_t count = plan.sourceArgs.size();
    for (int k : statement.markers) count += k >= 0 ? 1 : plan.setSql[static_cast<std::size_t>(-1 - k)].args.size();
    values.reserve(count);
    for (int k : statement.markers) {
        if (k >= 0) {
            values.push_back({{}, plan.set[static_cast<std::size_t>(k)].second});
        } else {
            for (const db::Variant& arg : plan.setSql[static_cast<std::size_t>(-1 - k)].args)
                values.push_back({{}, arg});
        }
    }
    for (const db::Variant& arg : plan.sourceArgs) values.push_back({{}, arg});
    return values;
}

}  // namespace engine
