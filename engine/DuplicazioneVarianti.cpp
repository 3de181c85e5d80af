// Variants: which variants the new article uses, whether each is active and under which grouping of
// its options. The user's choice, when the caller has one, comes in the selection RstDuplVarianti (one
// row per variant: SEL, RAGGRAUTOMATICO, RAGGRPERSONALIZZATO).
#include <algorithm>
#include <optional>

#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/VariantCopy.h"
#include "entry/MDLFA_AGGANCI.h"

namespace engine {
namespace {

bool Is(const db::Variant& v, double n) { return !v.IsNull() && v.CDbl() == n; }

bool Selected(db::Recordset& selection) { return Is(selection["SEL"].Value(), 1); }
bool Deselected(db::Recordset& selection) { return Is(selection["SEL"].Value(), 0); }

// The grouping the user chose: the new article's code when automatic; a personalised code wins over it.
void ChooseGrouping(db::Recordset& selection, const std::string& newCode, VariantChoice& choice) {
    choice.grouped = Is(selection["RAGGRAUTOMATICO"].Value(), 1);
    if (choice.grouped) choice.grouping = newCode;
    // The column is CHAR(20): "no personalised code" arrives as blanks.
    const std::string personalised = entry::Pfun_Testo(selection["RAGGRPERSONALIZZATO"].Value());
    if (!personalised.empty()) {
        choice.grouped = true;
        choice.grouping = personalised;
    }
}

std::string VariantOf(db::Recordset& source) { return entry::Pfun_Testo(source["MG6B_CODICEVAR_MG5F"].Value()); }

// DuplicazioneVarianti's choices as expressions over the source row, for the copy in one statement. None when
// a selected variant moves to a grouping, which may first have to be created. The first row of a variant in
// the selection is the one that counts, as when it is looked up by filter.
std::optional<VariantRowsSql> ChoicesAsSql(db::Recordset* selection, bool singleArticle) {
    std::vector<std::string> seen, selected;
    if (selection) {
        selection->Filter(db::Variant(""));
        for (selection->MoveFirst(); !selection->EOF(); selection->MoveNext()) {
            const std::string variant = entry::Pfun_Testo((*selection)["MG5F_CODICEVAR"].Value());
            if (std::any_of(seen.begin(), seen.end(), [&](const std::string& v) { return db::SameCode(v, variant); }))
                continue;
            seen.push_back(variant);
            if (!Selected(*selection)) continue;
            VariantChoice choice;
            ChooseGrouping(*selection, {}, choice);
            if (choice.grouped) return std::nullopt;
            selected.push_back(db::SqlText(variant));
        }
    }
    if (selected.empty()) return VariantRowsSql{"0", "NULL"};
    // A handful of variants as comparisons joined by OR: SQLite builds a temporary index for every IN list a
    // statement evaluates. A long list stays a list, within the depth SQLite allows an expression.
    constexpr std::size_t kMostCompared = 64;
    std::string condition;
    if (selected.size() > kMostCompared) {
        for (const std::string& v : selected) condition += (condition.empty() ? "MG6B_CODICEVAR_MG5F IN (" : ", ") + v;
    } else {
        for (const std::string& v : selected)
            condition += (condition.empty() ? "(MG6B_CODICEVAR_MG5F = " : " OR MG6B_CODICEVAR_MG5F = ") + v;
    }
    condition += ")";
    if (!singleArticle) condition += " AND MG6B_FLGGESTVAR = 1";
    return VariantRowsSql{"CASE WHEN " + condition + " THEN 1 ELSE 0 END",
                          "CASE WHEN " + condition + " THEN MG6B_CODRAGGVAR_MG5G ELSE NULL END"};
}

}  // namespace

// Every variant of the model except the colour, which the link fabric brings (DuplicazioneColoredaTessuto).
// Without a selection each variant is active, grouped by article when the company says so.
EnumMethodResult CLSFA_DUPLICA::DuplicazioneVariantiDaModello(const db::Variant& Articolo_Origine,
                                                              const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneVariantiDaModello", [&] {
        VariantCopy copy(*this, Articolo_Origine, Articolo_DaGenerare);
        copy.CopyFlagTable();
        const VariantChoice companyDefault = copy.CompanyDefault();
        copy.CopyVariantRows([&](db::Recordset& source) {
            const std::string variant = VariantOf(source);
            if (db::SameCode(variant, copy.ColourVariant())) return VariantPlan::Skip();
            if (!rstDuplVarianti_) return VariantPlan::Apply(companyDefault);
            db::Recordset* selection = copy.Selection(variant);
            // The variant form offers only the model's active variants: one the user was not asked
            // about stays as it is on the model, active or not, with its grouping.
            if (!selection) return VariantPlan::AsIs();
            VariantChoice choice;
            choice.active = !Deselected(*selection);
            ChooseGrouping(*selection, copy.NewCode(), choice);
            return VariantPlan::Apply(choice);
        });
        copy.MarkArticleVariantManaged();
        return kvMethodOK;
    });
}

// Every variant, colour included. A variant is active only when the user selects it, and only when it is
// active on the source or the run duplicates a single article (whose own variants the user saw).
EnumMethodResult CLSFA_DUPLICA::DuplicazioneVarianti(const db::Variant& Articolo_Origine,
                                                     const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneVarianti", [&] {
        VariantCopy copy(*this, Articolo_Origine, Articolo_DaGenerare);
        copy.CopyFlagTable();
        copy.CopyVariantRows([&](db::Recordset& source) {
            VariantChoice choice;
            choice.active = false;
            if (rstDuplVarianti_) {
                db::Recordset* selection = copy.Selection(VariantOf(source));
                const bool activeOnSource = Is(source["MG6B_FLGGESTVAR"].Value(), 1);
                if (selection && (modalitaDuplicaSingola_ || activeOnSource)) {
                    choice.active = Selected(*selection);
                    ChooseGrouping(*selection, copy.NewCode(), choice);
                }
            }
            return VariantPlan::Apply(choice);
        }, {}, ChoicesAsSql(rstDuplVarianti_.get(), modalitaDuplicaSingola_));
        copy.MarkArticleVariantManaged();
        return kvMethodOK;
    });
}

// Only the colour variant, taken from the link fabric: it must be active there with a grouping, which the
// new article gets under its own code. kvMethodCanceled when the fabric has no such row.
EnumMethodResult CLSFA_DUPLICA::DuplicazioneColoredaTessuto(const db::Variant& Articolo_Origine,
                                                            const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneColoredaTessuto", [&] {
        VariantCopy copy(*this, Articolo_Origine, Articolo_DaGenerare);
        VariantChoice choice;
        choice.grouped = true;
        choice.grouping = copy.NewCode();
        const std::string colourRows = ColourVariantRows(copy.ColourVariant());
        const bool found = copy.CopyVariantRows(
            [&](db::Recordset& source) {
                if (rstDuplVarianti_) {
                    if (db::Recordset* selection = copy.Selection(source["MG6B_CODICEVAR_MG5F"].Value().Text())) {
                        choice.active = !Deselected(*selection);
                        choice.grouped = Is((*selection)["RAGGRAUTOMATICO"].Value(), 1);
                        if (choice.grouped) choice.grouping = copy.NewCode();
                    }
                }
                return choice.active ? VariantPlan::Apply(choice) : VariantPlan::Skip();
            },
            colourRows);
        copy.ClearSourceFilter();
        copy.MarkArticleVariantManaged();
        return found ? kvMethodOK : kvMethodCanceled;
    });
}

}  // namespace engine
