#include "engine/RowCopy.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "db/CommonSql.h"
#include "db/JoinText.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/InsertSelect.h"

namespace engine {

namespace {

std::string ArticleRowsWhereOf(const std::string& prefix, const std::string& company, std::string_view code,
                               const std::string& extra) {
    return db::JoinText({" ", prefix, "_DITTA_CG18 = ", company, " AND ", prefix, "_CODART_MG66 = ", code, extra});
}

}  // namespace

std::string ArticleRowsWhere(const std::string& prefix, const std::string& company, const db::Variant& code,
                             const std::string& extra) {
    return ArticleRowsWhereOf(prefix, company, db::SqlText(code.Text()), extra);
}

std::string ArticleRowsMarkerWhere(const std::string& prefix, const std::string& company, const std::string& extra) {
    return ArticleRowsWhereOf(prefix, company, "?", extra);
}

namespace {

// Everything the text of a copy in one statement with its values apart is made of, but the table's own facts:
// the plan's table, clauses, rule, names and expressions. What each column gets follows from these, the
// table's columns and, for a column copied unless Null, whether the table gives it a default.
std::string CopyShapeKey(const CopySpec& plan) {
    std::string key = db::JoinText({plan.table, "\n", plan.sourceFrom, "\n", std::to_string(plan.firstField), "\n",
                                    std::to_string(reinterpret_cast<std::uintptr_t>(plan.rule))});
    for (const auto& [name, value] : plan.set) {
        // A text goes in as a marker; any other value is written into the text.
        key.append("\n").append(name).append(value.IsString() ? "=?" : "=");
        if (!value.IsString()) key.append(std::to_string(static_cast<int>(value.Type()))).append(":" + value.Text());
    }
    for (const SqlValue& v : plan.setSql) key.append("\n").append(v.column).append("=").append(v.expression);
    return key;
}

// The copy in one statement as a table's columns make it: none when a column's value cannot be written so.
// With a column copied unless Null, the columns with a default it was decided on.
struct SetBasedCopy {
    bool composed = false;
    InsertSelectStatement statement;
    bool askedDefaults = false;
    std::optional<std::vector<std::string>> defaulted;
};

// Turns "copy unless Null" into a plain copy where a Null copied is what the table's default would give;
// false when a column's Null must leave its default to the table, which a row copy does. `defaulted`: the
// table's nullable columns with a default, none when not known.
bool CopiedAsTheyAre(const std::vector<std::string>& columns, const std::optional<std::vector<std::string>>& defaulted,
                     std::vector<FieldAction>& actions) {
    if (std::find(actions.begin(), actions.end(), FieldAction::CopyUnlessNull) == actions.end()) return true;
    // A column that cannot hold Null is never Null in the source; one without a default gets Null either way.
    if (!defaulted) return false;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        if (actions[i] != FieldAction::CopyUnlessNull) continue;
        if (std::any_of(defaulted->begin(), defaulted->end(),
                        [&](const std::string& name) { return db::SameText(name, columns[i]); }))
            return false;
        actions[i] = FieldAction::Copy;
    }
    return true;
}

// Set while it lives, then as it was.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag), was_(std::exchange(flag, true)) {}
    ~BusyFlag() { flag_ = was_; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    bool& flag_;
    bool was_;
};

std::vector<FieldAction> Actions(const CopySpec& plan, const std::vector<std::string>& columns) {
    std::vector<FieldAction> actions;
    actions.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i)
        actions.push_back(plan.rule && static_cast<long>(i) >= plan.firstField ? plan.rule(columns[i])
                                                                               : FieldAction::Copy);
    return actions;
}

}  // namespace

std::string ArticleRowsSql(const std::string& table, const std::string& prefix, const std::string& company,
                           const db::Variant& code, const std::string& extra) {
    return db::JoinText({"SELECT * FROM ", table, " WHERE ", ArticleRowsWhere(prefix, company, code, extra)});
}

bool RowCopy::SetBasedAllowed(const CopySpec& plan) const {
    if (plan.table.empty() || plan.written || plan.beforeTarget) return false;
    if ((plan.accept || plan.complete) && !plan.hooksAsSql) return false;
    // Whoever handles Before may change the rows before they are written: they must exist as rows.
    if (plan.before && engine_.Listened(*plan.before)) return false;
    return !(plan.after && engine_.Listened(*plan.after) && plan.writtenWhere.empty());
}

std::optional<bool> RowCopy::RunSetBased(const CopySpec& plan) {
    auto& e = engine_;
    const db::ConnectionPtr connection = e.UsableConnection();
    if (e.rstTarget_->State() == db::adStateOpen) e.rstTarget_->Close();
    // The column names from the connection: no statement to translate and no recordset to fill for them.
    const auto names = connection->TableColumns(plan.table);
    const auto compose = [&] {
        std::vector<FieldAction> actions = Actions(plan, *names);
        SetBasedCopy copy;
        copy.askedDefaults = std::find(actions.begin(), actions.end(), FieldAction::CopyUnlessNull) != actions.end();
        if (copy.askedDefaults) copy.defaulted = connection->NullableColumnsWithDefault(plan.table);
        if (!CopiedAsTheyAre(*names, copy.defaulted, actions)) return copy;
        copy.statement = InsertSelect(plan, *names, actions);
        copy.composed = !copy.statement.sql.empty();
        return copy;
    };
    // A table whose defaults changed, its columns the same, decides its columns copied unless Null again.
    const auto stale = [&](const SetBasedCopy& kept) {
        return kept.askedDefaults && connection->NullableColumnsWithDefault(plan.table) != kept.defaulted;
    };
    SetBasedCopy made;
    const SetBasedCopy* copy = &made;
    // With the values apart the text is the same for every article of a run: composed once.
    if (plan.valuesApart && e.constants_)
        copy = &e.constants_->MadeFor<SetBasedCopy>(CopyShapeKey(plan), names, compose, stale);
    else
        made = compose();
    if (!copy->composed) return std::nullopt;
    const InsertSelectStatement* statement = &copy->statement;
    if (e.SourceKnownEmpty(plan)) return false;
    long written = 0;
    // Composed here of plain names, literals and markers: SQLite runs it without the T-SQL translation.
    connection->ExecuteWith(statement->sql, MarkerValues(plan, *statement), &written,
                            db::kCommonSqlText | db::adExecuteNoRecords);
    if (written < 1) {
        e.NoteCopiedNothing(plan);
        return false;
    }
    if (plan.after && e.Listened(*plan.after)) {
        e.rstTarget_->Open("SELECT * FROM " + plan.table + " WHERE " + plan.writtenWhere, connection,
                           db::adOpenUnspecified, db::adLockUnspecified, db::kCommonSqlText);
        e.RaiseEvent(*plan.after);
    }
    return true;
}

bool RowCopy::Run(const CopySpec& plan) {
    auto& e = engine_;
    const db::ConnectionPtr connection = e.UsableConnection();
    // The copy's event handlers may call the engine: its operations refuse to start until the copy ends, however
    // it ends.
    const BusyFlag busy(e.copying_);
    e.statementText_ = plan.sourceSql;
    if (SetBasedAllowed(plan))
        if (const auto done = RunSetBased(plan)) return *done;
    if (e.rstSource_->State() == db::adStateOpen) e.rstSource_->Close();
    const long options = plan.commonSql ? db::kCommonSqlText : db::adOptionUnspecified;
    e.rstSource_->Open(plan.sourceSql, connection, db::adOpenUnspecified, db::adLockUnspecified, options);
    if (e.rstSource_->RecordCount() < 1) return false;
    if (plan.beforeTarget && !plan.beforeTarget()) return false;

    if (e.rstTarget_->State() == db::adStateOpen) e.rstTarget_->Close();
    e.rstTarget_->Open(plan.emptySql, connection, db::adOpenUnspecified, db::adLockUnspecified,
                       plan.emptyCommonSql ? db::kCommonSqlText : options);

    // Field names do not change from row to row: decide each field's treatment once.
    auto& source = *e.rstSource_;
    const long count = source.GetFields().Count();
    std::vector<FieldAction> actions(static_cast<std::size_t>(count), FieldAction::Copy);
    if (plan.rule)
        for (long i = plan.firstField; i < count; ++i)
            actions[static_cast<std::size_t>(i)] = plan.rule(source.GetFields()[i].Name());

    bool pending = false;
    source.MoveFirst();
    while (!source.EOF()) {
        if (!plan.accept || plan.accept(source)) {
            auto& target = *e.rstTarget_;
            target.AddNew();
            for (const auto& [name, value] : plan.set) target[name].Value(value);
            CopyFields(plan, source, target, actions);
            if (plan.complete) plan.complete(source, target);
            target.Update();
            pending = true;
            if (plan.batchPerRow) {
                Flush(plan);
                if (plan.written) plan.written(*e.rstTarget_);
                pending = false;
            }
        }
        source.MoveNext();
    }
    if (pending || !plan.batchPerRow) Flush(plan);
    return true;
}

void RowCopy::CopyFields(const CopySpec& plan, db::Recordset& source, db::Recordset& target,
                         const std::vector<FieldAction>& actions) {
    auto& index = engine_.fieldIndex_;
    const long count = source.GetFields().Count();
    for (long i = plan.firstField; i < count; ++i) {
        index = static_cast<std::int16_t>(i);
        switch (actions[static_cast<std::size_t>(i)]) {
            case FieldAction::Copy:
                target[i].Value(source[i].Value());
                break;
            case FieldAction::CopyUnlessNull: {
                db::Variant v = source[i].Value();
                if (!v.IsNull()) target[i].Value(v);
                break;
            }
            case FieldAction::Zero:
                target[i].Value(db::Variant(0));
                break;
            case FieldAction::Skip:
                break;
        }
    }
}

void RowCopy::Flush(const CopySpec& plan) {
    auto& e = engine_;
    if (plan.before) e.RaiseEvent(*plan.before);
    e.rstTarget_->UpdateBatch(db::adAffectAll);
    if (plan.after) e.RaiseEvent(*plan.after);
}

}  // namespace engine
