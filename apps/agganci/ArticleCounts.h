#pragma once
// Which rows of each table belong to one article, and how many there are: what the command line shows of an
// article and reports after a duplication.
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"

namespace app {

struct ArticleRows {
    std::string table;
    std::string where;  // the condition selecting the article's rows of the table
};

// Every table with an article column, then the attributes hung on the article's descriptions.
std::vector<ArticleRows> ArticleRowsByTable(long company, const std::string& code);

std::vector<std::pair<std::string, long>> CountArticleRows(db::Connection& c, long company, const std::string& code);

// The same counts for the tables a duplication copies rows of: what a dry run of one shows of its source.
std::vector<std::pair<std::string, long>> CountCopiedRows(db::Connection& c, long company, const std::string& code);

}  // namespace app
