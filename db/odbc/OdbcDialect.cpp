#include "db/odbc/OdbcDialect.h"

#include <sqlext.h>

#include <cctype>
#include <string_view>
#include <unordered_set>

#include "db/Error.h"
#include "db/odbc/OdbcDiagnostics.h"

namespace db::odbc {
namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// ODBC's list of reserved words: any driver may treat them as keywords.
const std::unordered_set<std::string>& ReservedWords() {
    static const std::unordered_set<std::string> words = [] {
        std::unordered_set<std::string> set;
        const std::string_view all = SQL_ODBC_KEYWORDS;
        std::size_t start = 0;
        while (start < all.size()) {
            std::size_t end = all.find(',', start);
            if (end == std::string_view::npos) end = all.size();
            set.emplace(all.substr(start, end - start));
            start = end + 1;
        }
        return set;
    }();
    return words;
}

bool IsIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
}

bool IsPlain(const std::string& name) { return IsIdentifier(name) && !ReservedWords().count(Upper(name)); }

std::string Enclose(const std::string& name, char open, char close) {
    std::string out(1, open);
    for (char c : name) {
        if (c == close) out += close;
        out += c;
    }
    return out + close;
}

const std::string& RequireSavepointName(const std::string& name, bool transactSql) {
    // Savepoint names go into the statement as they are: only plain identifiers are accepted.
    if (!IsIdentifier(name) || (transactSql && name.size() > 32)) {
        throw Error(errc::InvalidArgument,
                    "Savepoint name '" + name + "' is not a plain identifier" + (transactSql ? " of at most 32 characters" : ""),
                    kSource);
    }
    return name;
}

}  // namespace

SqlDialect SqlDialect::ForServer(const std::string& dbmsName, const std::string& identifierQuote) {
    const bool transactSql = Upper(dbmsName).find("SQL SERVER") != std::string::npos;
    std::string quote = identifierQuote;
    if (quote.empty() || quote == " ") quote = "\"";
    return SqlDialect(transactSql, quote, Upper(dbmsName).rfind("SQLITE", 0) == 0);
}

std::string SqlDialect::QuoteIdentifier(const std::string& name) const {
    if (IsPlain(name)) return name;
    if (transactSql_) return Enclose(name, '[', ']');
    return Enclose(name, quote_[0], quote_[0]);
}

std::string SqlDialect::Qualified(const TableRef& table) const {
    if (table.schema.empty()) return QuoteIdentifier(table.name);
    return QuoteIdentifier(table.schema) + "." + QuoteIdentifier(table.name);
}

std::string SqlDialect::SavepointStatement(const std::string& name) const {
    return (transactSql_ ? "SAVE TRANSACTION " : "SAVEPOINT ") + RequireSavepointName(name, transactSql_);
}

std::string SqlDialect::RollbackToSavepointStatement(const std::string& name) const {
    return (transactSql_ ? "ROLLBACK TRANSACTION " : "ROLLBACK TO SAVEPOINT ") + RequireSavepointName(name, transactSql_);
}

std::string SqlDialect::ReleaseSavepointStatement(const std::string& name) const {
    RequireSavepointName(name, transactSql_);
    return transactSql_ ? std::string() : "RELEASE SAVEPOINT " + name;
}

std::string SqlDialect::TransactionStateQuery() const {
    return transactSql_ ? "SELECT @@TRANCOUNT, XACT_STATE()" : std::string();
}

std::string SqlDialect::LastIdentityExpression() const {
    if (transactSql_) return "SCOPE_IDENTITY()";
    return sqlite_ ? "last_insert_rowid()" : std::string();
}

}  // namespace db::odbc
