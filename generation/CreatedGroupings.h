#pragma once
// The variant groupings the copy of one article creates, kept as the article's own (AG03_RAGGRCREATI) so
// that removing the article removes them and nothing else: a grouping that existed already under the same
// code and was only reused is not recorded.
//
//   CreatedGroupings groupings(connection, company, newCode, variantSelection);  // before the copy
//   ... the engine copies the variants ...
//   groupings.Record();                                  // after it, inside the article's transaction
#include <set>
#include <string>
#include <utility>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"

namespace generation {

class CreatedGroupings {
public:
    // Notes which groupings exist already under the codes the copy may give (the new code, the user's own).
    CreatedGroupings(db::Connection& connection, const db::Variant& company, const std::string& newCode,
                     const db::RecordsetPtr& variantSelection);
    // Records the groupings the new article uses under those codes that did not exist before the copy.
    void Record();

private:
    using Grouping = std::pair<std::string, std::string>;  // variant, grouping code
    std::set<Grouping> Read(const std::string& sql) const;

    db::Connection& connection_;
    std::string company_;
    std::string newCode_;
    std::string codes_;              // the candidate codes as a list of literals
    std::set<Grouping> existing_;
};

}  // namespace generation
