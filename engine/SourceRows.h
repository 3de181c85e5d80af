#pragma once
// Which of the tables the engine copies by article code hold rows of one source article, asked of the
// database in one statement. An article has rows in a few of its satellite tables only; a copy of none still
// costs a statement (SQLite sets up a temporary table for every copy of a table into itself). The answer
// holds while nothing writes rows of that article, which only the caller of the engine can vouch for
// (CLSFA_DUPLICA::SourceRowsUnchanged): the engine's own copies write the new article's rows only.
#include <string>
#include <unordered_map>
#include <vector>

#include "db/Connection.h"

namespace engine {

class RunConstants;

class SourceRows {
public:
    // Asks for each of `tables` whether it has a row with `<prefix>_DITTA_CG18 = company` and
    // `<prefix>_CODART_MG66 = code`, <prefix> being the table name up to its first '_'. The statement is
    // made once per run.
    SourceRows(db::Connection& connection, RunConstants& run, const std::string& company, const std::string& code,
               const std::vector<std::string>& tables);

    const std::string& Company() const { return company_; }
    const std::string& Code() const { return code_; }
    // True only for a table that was asked about and has no row of the article.
    bool KnownEmpty(const std::string& table) const;

private:
    std::string company_;
    std::string code_;
    std::unordered_map<std::string, bool> found_;
};

}  // namespace engine
