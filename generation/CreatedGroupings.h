#pragma once
// The variant groupings the copy of one article creates, kept as the article's own (AG03_RAGGRCREATI) so
// that removing the article removes them and nothing else: a grouping that existed already under the same
// code and was only reused is not recorded.
//
//   CreatedGroupings groupings(connection, company, newCode, variantSelection, othersMayWrite);  // before
//   ... the engine copies the variants ...
//   groupings.Record(engine.GroupingsCreated());  // after it, inside the article's transaction
//
// The engine knows which groupings it created: it looks each one up before creating it. A subscriber of its
// events may write groupings and variant rows too; when one listens (`othersMayWrite`), the groupings are
// found by what exists before the copy and what the new article uses after it.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"

namespace generation {

class CreatedGroupings {
public:
    using Grouping = std::pair<std::string, std::string>;  // variant, grouping code

    // With `othersMayWrite`, notes which groupings exist already under the codes the copy may give (the new
    // code, the user's own).
    CreatedGroupings(db::Connection& connection, const db::Variant& company, const std::string& newCode,
                     const db::RecordsetPtr& variantSelection, bool othersMayWrite);
    // Records the groupings the copy created: those the engine reports, or, with `othersMayWrite`, those the
    // new article uses under the candidate codes that did not exist before the copy.
    void Record(const std::vector<Grouping>& createdByEngine);

private:
    std::set<Grouping> Read(const std::string& sql) const;
    void Insert(const Grouping& grouping);

    db::Connection& connection_;
    std::string company_;
    std::string newCode_;
    bool othersMayWrite_;
    std::string codes_;  // the candidate codes as a list of literals
    std::set<Grouping> existing_;
};

}  // namespace generation
