#include "generation/CreatedGroupings.h"

#include "db/CommonSql.h"
#include "db/Constants.h"
#include "db/Field.h"
#include "db/Quote.h"

namespace generation {
namespace {

// Codes compare as the database compares them: case and trailing blanks aside.
CreatedGroupings::Grouping Folded(const std::string& variant, const std::string& grouping) {
    return {db::UCase(db::RTrim(variant)), db::UCase(db::RTrim(grouping))};
}

}  // namespace

CreatedGroupings::CreatedGroupings(db::Connection& connection, const db::Variant& company,
                                   const std::string& newCode, const db::RecordsetPtr& variantSelection,
                                   bool othersMayWrite)
    : connection_(connection), company_(db::SqlNumber(company)), newCode_(newCode), othersMayWrite_(othersMayWrite) {
    if (!othersMayWrite_) return;
    std::set<std::string> codes{newCode};
    if (variantSelection && variantSelection->State() == db::adStateOpen && variantSelection->RecordCount() > 0) {
        // A clone: the caller's selection keeps its row and filter.
        auto rows = variantSelection->Clone();
        rows->Filter(db::Variant(std::string()));
        for (rows->MoveFirst(); !rows->EOF(); rows->MoveNext()) {
            const db::Variant own = (*rows)["RAGGRPERSONALIZZATO"].Value();
            if (!own.IsNull() && !db::Trim(own.Text()).empty()) codes.insert(db::RTrim(own.Text()));
        }
    }
    for (const auto& code : codes) codes_ += (codes_.empty() ? "" : ", ") + db::SqlText(code);
    existing_ = Read("SELECT MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR FROM MG5G_RAGGVAR WHERE MG5G_DITTA_CG18 = " +
                     company_ + " AND MG5G_CODRAGGVAR IN (" + codes_ + ")");
}

void CreatedGroupings::Record(const std::vector<Grouping>& createdByEngine) {
    if (!othersMayWrite_) {
        for (const auto& [variant, grouping] : createdByEngine) Insert(Folded(variant, grouping));
        return;
    }
    const auto used = Read("SELECT MG6B_CODICEVAR_MG5F, MG6B_CODRAGGVAR_MG5G FROM MG6B_GESVARART WHERE MG6B_DITTA_CG18 = " +
                           company_ + " AND MG6B_CODART_MG66 = " + db::SqlText(newCode_) +
                           " AND MG6B_CODRAGGVAR_MG5G IN (" + codes_ + ")");
    for (const Grouping& grouping : used) Insert(grouping);
}

// Once per grouping: `existing_` takes in each one recorded.
void CreatedGroupings::Insert(const Grouping& grouping) {
    if (!existing_.insert(grouping).second) return;
    const auto& [variant, code] = grouping;
    connection_.Execute("INSERT INTO AG03_RAGGRCREATI (AG03_DITTA_CG18, AG03_CODART_MG66, AG03_CODICEVAR_MG5F, "
                        "AG03_CODRAGGVAR_MG5G) VALUES (" + company_ + ", " + db::SqlText(newCode_) + ", " +
                            db::SqlText(variant) + ", " + db::SqlText(code) + ")",
                        nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
}

std::set<CreatedGroupings::Grouping> CreatedGroupings::Read(const std::string& sql) const {
    std::set<Grouping> rows;
    auto rs = connection_.Execute(sql, nullptr, db::kCommonSqlText);
    if (!rs || rs->RecordCount() == 0) return rows;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        rows.insert(Folded(rs->GetFields()[0].Value().Text(), rs->GetFields()[1].Value().Text()));
    return rows;
}

}  // namespace generation
