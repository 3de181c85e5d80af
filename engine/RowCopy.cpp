#include "engine/RowCopy.h"

#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"

namespace engine {

std::string ArticleRowsSql(const std::string& table, const std::string& prefix, const std::string& company,
                           const db::Variant& code, const std::string& extra) {
    return "SELECT * FROM " + table + " WHERE " + " " + prefix + "_DITTA_CG18 = " + company + " AND " + prefix +
           "_CODART_MG66 = '" + db::SqlEscape(code.Text()) + "'" + extra;
}

bool RowCopy::Run(const CopySpec& spec) {
    auto& e = engine_;
    e.statementText_ = spec.sourceSql;
    if (e.rstSource_->State() == db::adStateOpen) e.rstSource_->Close();
    e.rstSource_->Open(spec.sourceSql, e.connessione_);
    if (e.rstSource_->RecordCount() < 1) return false;
    if (spec.beforeTarget && !spec.beforeTarget()) return false;

    if (e.rstTarget_->State() == db::adStateOpen) e.rstTarget_->Close();
    e.rstTarget_->Open(spec.emptySql, e.connessione_);

    // Field names do not change from row to row: decide each field's treatment once.
    auto& source = *e.rstSource_;
    const long count = source.GetFields().Count();
    std::vector<FieldAction> actions(static_cast<std::size_t>(count), FieldAction::Copy);
    if (spec.rule)
        for (long i = spec.firstField; i < count; ++i)
            actions[static_cast<std::size_t>(i)] = spec.rule(source.GetFields()[i].Name());

    bool pending = false;
    source.MoveFirst();
    while (!source.EOF()) {
        if (!spec.accept || spec.accept(source)) {
            auto& target = *e.rstTarget_;
            target.AddNew();
            for (const auto& [name, value] : spec.set) target[name].Value(value);
            CopyFields(spec, source, target, actions);
            if (spec.complete) spec.complete(source, target);
            target.Update();
            pending = true;
            if (spec.batchPerRow) {
                Flush(spec);
                if (spec.written) spec.written(*e.rstTarget_);
                pending = false;
            }
        }
        source.MoveNext();
    }
    if (pending || !spec.batchPerRow) Flush(spec);
    return true;
}

void RowCopy::CopyFields(const CopySpec& spec, db::Recordset& source, db::Recordset& target,
                         const std::vector<FieldAction>& actions) {
    auto& index = engine_.fieldIndex_;
    const long count = source.GetFields().Count();
    for (long i = spec.firstField; i < count; ++i) {
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

void RowCopy::Flush(const CopySpec& spec) {
    auto& e = engine_;
    if (spec.before) e.RaiseEvent(*spec.before);
    e.rstTarget_->UpdateBatch(db::adAffectAll);
    if (spec.after) e.RaiseEvent(*spec.after);
}

}  // namespace engine
