#pragma once
// The working steps of the variant operations: the per-article variant flags, the variant rows of the
// new article with the activation and grouping chosen for each, the groupings created for it, and the
// article master's variant mark. The operations themselves (DuplicazioneVarianti.cpp) decide, row by
// row, what each variant gets; this class carries the decision out.
#include <functional>
#include <optional>
#include <string>

#include "db/Recordset.h"
#include "db/Variant.h"

namespace engine {

class CLSFA_DUPLICA;

// What the new article's row of one variant gets.
struct VariantChoice {
    bool active = true;    // MG6B_FLGGESTVAR 1
    bool grouped = false;  // the row moves to `grouping`, created from the source row's grouping if needed
    std::string grouping;
};

// How one source variant row is carried over.
struct VariantPlan {
    enum class Kind {
        Skip,   // not written
        AsIs,   // written as on the source article
        Apply,  // written with `choice`
    };
    Kind kind = Kind::Apply;
    VariantChoice choice;

    static VariantPlan Skip() { return {Kind::Skip, {}}; }
    static VariantPlan AsIs() { return {Kind::AsIs, {}}; }
    static VariantPlan Apply(VariantChoice c) { return {Kind::Apply, std::move(c)}; }
};

// The choices of every variant row as expressions over the source row, for the copy in one statement:
// MG6B_FLGGESTVAR and MG6B_CODRAGGVAR_MG5G.
struct VariantRowsSql {
    std::string active, grouping;
};

// The variant rows of a link fabric that pass its colour to a new article: the colour variant, active
// and grouped. A fabric without one cannot give its colour, and its article is not generated.
std::string ColourVariantRows(const std::string& colourVariant);

class VariantCopy {
public:
    VariantCopy(CLSFA_DUPLICA& engine, const db::Variant& origine, const db::Variant& nuovo);

    // The new article's code, as the grouping code that stands for "grouped by article".
    const std::string& NewCode() const { return newCode_; }

    // MG6D_FLGTABARTVAR: every row of the source, with the BeforeUpdateMG6D / AfterUpdateMG6D pair.
    void CopyFlagTable();

    // Active, and grouped under the new article's code when the company groups variants by article
    // (FA00_FLGGESTIONE and FA00_INDRAGGR both 1).
    VariantChoice CompanyDefault();

    // The company's colour variant, from the program interface the caller handed over (ActInterface).
    std::string ColourVariant() const;

    // The variant rows of the source article (only those matching `sourceFilter`, when given), each
    // written as `plan` says, in one batch between BeforeUpdateMG6B and AfterUpdateMG6B. False when no
    // source row is left: nothing is written and no event is raised. `asSql`, when given, is what the
    // planner decides, for the copy in one statement.
    using Planner = std::function<VariantPlan(db::Recordset& source)>;
    bool CopyVariantRows(const Planner& planner, const std::string& sourceFilter = {},
                         const std::optional<VariantRowsSql>& asSql = std::nullopt);

    // The user's row for a variant in the selection (RstDuplVarianti), which is left filtered on it;
    // nullptr when there is no selection or it has no row for the variant.
    db::Recordset* Selection(const std::string& variantCode);

    // MG66_FLGVARART = 1 on the new article.
    void MarkArticleVariantManaged();

    // The source rows shown unfiltered again, for the operations that follow on the same engine.
    void ClearSourceFilter();

private:
    void ApplyChoice(const VariantChoice& choice, db::Recordset& source, db::Recordset& target);
    // Whether the company has the grouping `code` of `variant`.
    bool GroupingExists(const std::string& variant, const std::string& code);
    // The grouping `code` of `variant`, created as a copy of the grouping `sourceCode` (header and
    // options) unless it exists already. Error 3021 when it must be created and `sourceCode` does not exist.
    void EnsureGrouping(const std::string& variant, const std::string& code, const std::string& sourceCode);

    CLSFA_DUPLICA& engine_;
    db::Variant origine_;
    db::Variant nuovo_;
    std::string newCode_;
    std::string company_;
};

}  // namespace engine
