#pragma once
// Which articles a link generation created (AG02_ARTGENERATI), and the article a link row records as the
// database holds it now. A link row records either the article its run created or, when the code existed
// already, that existing article; only the first goes when the link is removed.
#include <optional>
#include <string>

#include "db/Connection.h"
#include "db/Variant.h"

namespace generation {

// The run of link row `rowGuid` created `article`; written together with the code on the row.
void RecordGeneratedArticle(db::Connection& c, const db::Variant& company, const std::string& article,
                            const std::string& rowGuid);

// True when the run of link row `rowGuid` created `article`. An article recorded before the mark existed has
// none: it counts as not created by the link, so a removal leaves it.
bool CreatedByLinkRow(db::Connection& c, const db::Variant& company, const std::string& article,
                      const std::string& rowGuid);

// FA64_ARTAGGANCIO_MG66 of the link row (trimmed, "" when none); nullopt when the row is not in the database.
std::optional<std::string> RecordedArticle(db::Connection& c, const std::string& rowGuid);

}  // namespace generation
