#include "engine/VariantCopy.h"

#include "db/CommonSql.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"
#include "engine/RunConstants.h"
#include "entry/HostInterfaces.h"
#include "entry/MDLFA_AGGANCI.h"

namespace engine {
namespace {

bool IsOne(const db::Variant& v) { return !v.IsNull() && v.CDbl() == 1; }

}  // namespace

VariantCopy::VariantCopy(CLSFA_DUPLICA& engine, const db::Variant& origine, const db::Variant& nuovo)
    : engine_(engine), origine_(origine), nuovo_(nuovo), newCode_(nuovo.Text()), company_(engine.DittaText()) {}

void VariantCopy::CopyFlagTable() {
    auto plan = engine_.ArticleTableCopy("MG6D_FLGTABARTVAR", "MG6D", origine_, nuovo_, {}, 2);
    plan.before = EngineEvent::BeforeUpdateMG6D;
    plan.after = EngineEvent::AfterUpdateMG6D;
    RowCopy(engine_).Run(plan);
}

std::string ColourVariantRows(const std::string& colourVariant) {
    return " MG6B_CODICEVAR_MG5F = '" + db::SqlEscape(colourVariant) +
           "' AND MG6B_FLGGESTVAR = 1  AND  MG6B_CODRAGGVAR_MG5G <> '' ";
}

VariantChoice VariantCopy::CompanyDefault() {
    VariantChoice choice;
    auto parameters = ConstantRows(engine_.constants_.get(), *engine_.UsableConnection(),
                                   "SELECT FA00_FLGGESTIONE, FA00_INDRAGGR FROM FA00_PARAMETRI WITH (NOLOCK) "
                                   "WHERE FA00_DITTA_CG18 = " + company_);
    if (parameters->RecordCount() > 0) {
        parameters->MoveFirst();
        if (IsOne((*parameters)["FA00_FLGGESTIONE"].Value()) && IsOne((*parameters)["FA00_INDRAGGR"].Value())) {
            choice.grouped = true;
            choice.grouping = newCode_;
        }
    }
    return choice;
}

std::string VariantCopy::ColourVariant() const {
    auto program = engine_.actInterface_.As<entry::Cinterface>();
    if (!program) throw db::Error(db::errc::ObjectRequired);
    auto global = program->ClsGlobal();
    if (!global) throw db::Error(db::errc::ObjectRequired);
    return global->VarianteColore();
}

bool VariantCopy::CopyVariantRows(const Planner& planner, const std::string& sourceFilter,
                                  const std::optional<VariantRowsSql>& asSql) {
    auto rows = engine_.ArticleTableCopy("MG6B_GESVARART", "MG6B", origine_, nuovo_, {}, 2);
    auto& source = engine_.rstSource_;
    if (!sourceFilter.empty()) {
        rows.beforeTarget = [&] {
            source->Filter(db::Variant(sourceFilter));
            return source->RecordCount() > 0;
        };
    }
    VariantPlan current;
    rows.accept = [&](db::Recordset& row) {
        current = planner(row);
        return current.kind != VariantPlan::Kind::Skip;
    };
    rows.complete = [&](db::Recordset& row, db::Recordset& target) {
        if (current.kind == VariantPlan::Kind::Apply) ApplyChoice(current.choice, row, target);
    };
    if (asSql) {
        rows.hooksAsSql = true;
        rows.setSql = {{"MG6B_FLGGESTVAR", asSql->active}, {"MG6B_CODRAGGVAR_MG5G", asSql->grouping}};
    }
    rows.before = EngineEvent::BeforeUpdateMG6B;
    rows.after = EngineEvent::AfterUpdateMG6B;
    return RowCopy(engine_).Run(rows);
}

void VariantCopy::ApplyChoice(const VariantChoice& choice, db::Recordset& source, db::Recordset& target) {
    target["MG6B_FLGGESTVAR"].Value(db::Variant(static_cast<std::int16_t>(choice.active ? 1 : 0)));
    if (!choice.active) {
        target["MG6B_CODRAGGVAR_MG5G"].Value(db::Variant::Null());
        return;
    }
    if (!choice.grouped) return;
    // Without a grouping on the source there are no options to group: the row stays ungrouped.
    const std::string sourceGrouping = entry::Pfun_Testo(source["MG6B_CODRAGGVAR_MG5G"].Value());
    if (sourceGrouping.empty()) return;
    EnsureGrouping(source["MG6B_CODICEVAR_MG5F"].Value().Text(), choice.grouping, sourceGrouping);
    target["MG6B_CODRAGGVAR_MG5G"].Value(db::Variant(choice.grouping));
}

bool VariantCopy::GroupingExists(const std::string& variant, const std::string& code) {
    auto found = engine_.UsableConnection()->Execute("SELECT TOP 1 1 FROM MG5G_RAGGVAR WITH (NOLOCK) "
                                                     "WHERE MG5G_DITTA_CG18 = " + company_ + " " +
                                                     "AND MG5G_CODICEVAR_MG5F = '" + db::SqlEscape(variant) + "' " +
                                                     "AND MG5G_CODRAGGVAR = '" + db::SqlEscape(code) + "' ",
                                                     nullptr, db::adCmdText);
    return found->RecordCount() > 0;
}

void VariantCopy::EnsureGrouping(const std::string& variant, const std::string& code, const std::string& sourceCode) {
    if (GroupingExists(variant, code)) return;
    // The new grouping is a copy of the source's: without one the copy would write nothing, and the new row would
    // name a grouping that does not exist.
    if (!GroupingExists(variant, sourceCode))
        throw db::Error(db::errc::EofOrBof, "The grouping " + sourceCode + " of variant " + db::RTrim(variant) +
                                                " does not exist: it cannot be copied into the grouping " + code);
    const db::ConnectionPtr owner = engine_.UsableConnection();
    auto& connection = *owner;
    const std::string v = db::SqlEscape(variant);
    const std::string c = db::SqlEscape(code);
    const std::string s = db::SqlEscape(sourceCode);

    // A source grouping described by its own code is described by the new code; any other keeps its
    // description.
    auto describedByCode = connection.Execute(" SELECT TOP 1 MG5G_DESCRRAGGVAR  FROM MG5G_RAGGVAR  WITH (NOLOCK)"
                                              " WHERE MG5G_DITTA_CG18 = " + company_ + " " +
                                              " AND MG5G_CODICEVAR_MG5F = '" + v + "' " +
                                              " AND MG5G_CODRAGGVAR = '" + s + "' " +
                                              " AND MG5G_CODRAGGVAR = MG5G_DESCRRAGGVAR",
                                              nullptr, db::adCmdText);
    const std::string description = describedByCode->RecordCount() > 0 ? db::SqlText(code) : " MG5G_DESCRRAGGVAR ";

    connection.Execute(
        "INSERT INTO MG5G_RAGGVAR (MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR) "
        "SELECT MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, '" + c + "' , " + description + " " +
        "FROM MG5G_RAGGVAR WITH (NOLOCK) "
        "WHERE MG5G_DITTA_CG18 = " + company_ + " " +
        "AND MG5G_CODICEVAR_MG5F = '" + v + "' " +
        "AND MG5G_CODRAGGVAR = '" + s + "'; " +
        "INSERT INTO MG5H_COMPRAGVAR (MG5H_DITTA_CG18, MG5H_CODICEVAR_MG5F, MG5H_RAGGR_MG5G, MG5H_SEQOPZIONE, "
        "MG5H_OPZIONE_MG5E, MG5H_DESCR) "
        "SELECT MG5H_DITTA_CG18, MG5H_CODICEVAR_MG5F, '" + c + "', MG5H_SEQOPZIONE, MG5H_OPZIONE_MG5E, MG5H_DESCR " +
        "FROM MG5H_COMPRAGVAR WITH (NOLOCK) "
        "WHERE MG5H_DITTA_CG18 = " + company_ + " " +
        "AND MG5H_CODICEVAR_MG5F = '" + v + "' " +
        "AND MG5H_RAGGR_MG5G = '" + s + "' " +
        "ORDER BY MG5H_SEQOPZIONE",
        nullptr, db::adCmdText | db::adExecuteNoRecords);
    engine_.groupingsCreated_.emplace_back(variant, code);
}

db::Recordset* VariantCopy::Selection(const std::string& variantCode) {
    auto& selection = engine_.rstDuplVarianti_;
    if (!selection) return nullptr;
    selection->Filter(db::Variant("MG5F_CODICEVAR = '" + db::SqlEscape(variantCode) + "'"));
    if (selection->RecordCount() < 1) return nullptr;
    selection->MoveFirst();
    return selection.get();
}

void VariantCopy::MarkArticleVariantManaged() {
    engine_.UsableConnection()->Execute(std::string(" UPDATE") + "     MG66_ANAGRART" + " SET" +
                                            "     MG66_FLGVARART=1" + " WHERE" + "     MG66_DITTA_CG18=" + company_ +
                                            "     AND MG66_CODART='" + db::SqlEscape(newCode_) + "'",
                                        nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
}

void VariantCopy::ClearSourceFilter() {
    auto& source = engine_.rstSource_;
    if (source && source->State() == db::adStateOpen) source->Filter(db::Variant(""));
}

}  // namespace engine
