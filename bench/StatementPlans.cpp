#include "bench/StatementPlans.h"

#include <sqlite3.h>

#include <cctype>
#include <set>

#include "db/Error.h"
#include "db/sqlite/SqliteDriver.h"
#include "db/sqlite/TsqlTranslator.h"

namespace bench {
namespace {

bool IdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Statements that read or write tables; transaction control and pragmas have no plan worth checking.
bool HasPlan(const std::string& shape) {
    const std::string head = Upper(shape.substr(0, 8));
    for (const char* verb : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH", "REPLACE"})
        if (head.rfind(verb, 0) == 0) return true;
    return false;
}

// "TEMP.T" (SQLite's own temporary schema) or "TEMPDB.T" (the connection's database of T-SQL temporary
// tables): the length of the schema's prefix, 0 for any other name. Upper case.
const std::vector<std::string>& TempPrefixes() {
    static const std::vector<std::string> prefixes{"TEMP.", Upper(db::sqlite::kTempTablesSchema) + "."};
    return prefixes;
}

std::size_t TempPrefix(const std::string& upperName) {
    for (const std::string& prefix : TempPrefixes())
        if (upperName.rfind(prefix, 0) == 0) return prefix.size();
    return 0;
}

bool NamesTempTable(const std::string& shape) {
    const std::string upper = Upper(shape);
    for (const std::string& prefix : TempPrefixes())
        if (upper.find(prefix) != std::string::npos) return true;
    return false;
}

const std::string& TempTablesQuery() {
    static const std::string query =
        std::string("SELECT name FROM ") + db::sqlite::kTempTablesSchema + ".sqlite_schema WHERE type = 'table'";
    return query;
}

// The names of the tables of each schema, to tell a table from an alias or a subquery in a plan.
std::map<std::string, bool> TableNames(sqlite3* db) {
    std::map<std::string, bool> names;  // upper-case name -> temporary
    for (const auto& [query, temporary] : {std::pair<const char*, bool>{"SELECT name FROM sqlite_schema WHERE type = 'table'", false},
                                           {"SELECT name FROM sqlite_temp_schema WHERE type = 'table'", true},
                                           {TempTablesQuery().c_str(), true}}) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, query, -1, &stmt, nullptr) != SQLITE_OK) continue;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            names[Upper(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))] = temporary;
        sqlite3_finalize(stmt);
    }
    return names;
}

// "SCAN T ...", "SEARCH T USING AUTOMATIC ..." -> T; empty when the line reads through an index.
std::string ScannedName(const std::string& detail) {
    std::string rest;
    if (detail.rfind("SCAN ", 0) == 0) {
        rest = detail.substr(5);
    } else if (detail.rfind("SEARCH ", 0) == 0 && detail.find("AUTOMATIC") != std::string::npos) {
        rest = detail.substr(7);
    } else {
        return {};
    }
    // The rows of a VALUES list: "CONSTANT ROW", or "16 CONSTANT ROWS" for several ("16-ROW VALUES CLAUSE" in
    // later versions of SQLite).
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
    const std::size_t words = digits > 0 && digits < rest.size() && rest[digits] == ' ' ? digits + 1 : 0;
    if (rest.compare(words, 12, "CONSTANT ROW") == 0) return {};
    if (digits > 0 && rest.compare(digits, 18, "-ROW VALUES CLAUSE") == 0) return {};
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ' ') ++end;
    return rest.substr(0, end);
}

// "... WHERE 0 = 1": a condition of two different whole numbers reads no row, whatever the plan says.
bool NeverTrue(const std::string& sql) {
    const std::string upper = Upper(sql);
    const std::size_t where = upper.rfind(" WHERE ");
    if (where == std::string::npos) return false;
    long values[2] = {0, 0};
    std::size_t i = where + 7;
    for (int k = 0; k < 2; ++k) {
        while (i < sql.size() && sql[i] == ' ') ++i;
        if (i >= sql.size() || !std::isdigit(static_cast<unsigned char>(sql[i]))) return false;
        std::size_t end = i;
        while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end]))) ++end;
        values[k] = std::stol(sql.substr(i, end - i));
        i = end;
        while (i < sql.size() && sql[i] == ' ') ++i;
        if (k == 0) {
            if (i >= sql.size() || sql[i] != '=') return false;
            ++i;
        }
    }
    while (i < sql.size() && (sql[i] == ' ' || sql[i] == ';')) ++i;
    return i == sql.size() && values[0] != values[1];
}

}  // namespace

std::string StatementShape(const std::string& sql) {
    std::string out;
    out.reserve(sql.size());
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'') {
            std::size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == '\'' && j + 1 < sql.size() && sql[j + 1] == '\'') j += 2;
                else if (sql[j] == '\'') break;
                else ++j;
            }
            out += '?';
            i = j + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c)) && (out.empty() || !IdentifierChar(out.back()))) {
            std::size_t j = i;
            while (j < sql.size() && (std::isdigit(static_cast<unsigned char>(sql[j])) || sql[j] == '.')) ++j;
            out += '?';
            i = j;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ') out += ' ';
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

sqlite3* SqliteHandle(db::Connection& connection) {
    auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&connection.GetDriver());
    if (!driver) throw db::Error(db::errc::ProviderError, "The statement check needs a SQLite connection", "bench");
    return driver->Handle();
}

StatementRecorder::StatementRecorder(db::Connection& connection) : db_(SqliteHandle(connection)) {
    sqlite3_trace_v2(db_, SQLITE_TRACE_PROFILE, &StatementRecorder::OnTrace, this);
}

StatementRecorder::~StatementRecorder() { Stop(); }

void StatementRecorder::Stop() {
    if (tracing_) sqlite3_trace_v2(db_, 0, nullptr, nullptr);
    tracing_ = false;
}

int StatementRecorder::OnTrace(unsigned type, void* self, void* statement, void*) {
    if (type != SQLITE_TRACE_PROFILE) return 0;
    auto* recorder = static_cast<StatementRecorder*>(self);
    auto* stmt = static_cast<sqlite3_stmt*>(statement);
    const char* text = sqlite3_sql(stmt);
    if (!text) return 0;
    StatementStats& stats = recorder->shapes_[StatementShape(text)];
    if (stats.example.empty()) {
        // With the values bound, as the statement ran.
        char* expanded = sqlite3_expanded_sql(stmt);
        stats.example = expanded ? expanded : text;
        sqlite3_free(expanded);
    }
    ++stats.executions;
    stats.fullScanSteps += sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_FULLSCAN_STEP, 1);
    stats.autoIndexRows += sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_AUTOINDEX, 1);
    ++recorder->statements_;
    return 0;
}

PlanCheck CheckPlans(db::Connection& connection, const StatementRecorder& recorder) {
    sqlite3* db = SqliteHandle(connection);
    const auto tables = TableNames(db);
    PlanCheck check;
    for (const auto& [shape, stats] : recorder.Shapes()) {
        if (!HasPlan(shape)) continue;
        ++check.shapes;
        if (NeverTrue(stats.example)) continue;
        sqlite3_stmt* plan = nullptr;
        const std::string sql = "EXPLAIN QUERY PLAN " + stats.example;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &plan, nullptr) != SQLITE_OK) {
            // The mass selection's table is dropped as soon as it is read (and is read whole by design).
            if (!NamesTempTable(shape)) check.unplanned.push_back(shape);
            continue;
        }
        std::vector<std::string> details;
        while (sqlite3_step(plan) == SQLITE_ROW) details.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
        sqlite3_finalize(plan);
        // Subqueries and CTEs are read whole by design; their own reads of tables are lines of their own.
        std::set<std::string> subqueries;
        for (const std::string& detail : details)
            for (const char* head : {"MATERIALIZE ", "CO-ROUTINE "})
                if (detail.rfind(head, 0) == 0) subqueries.insert(Upper(detail.substr(std::string(head).size())));
        for (const std::string& detail : details) {
            const std::string name = ScannedName(detail);
            // Table-valued functions (pragma_table_info) are no tables of the company, nor is the database's
            // description of itself, read once per table by a connection.
            if (name.empty() || subqueries.count(Upper(name)) || detail.find("VIRTUAL TABLE") != std::string::npos ||
                Upper(name).rfind("SQLITE_", 0) == 0)
                continue;
            // "tempdb.T" names a table of the connection's own (the mass selection's list, read whole by design).
            const std::size_t prefix = TempPrefix(Upper(name));
            const bool tempSchema = prefix > 0;
            const auto table = tables.find(Upper(name.substr(prefix)));
            // A name that is no table is an alias: reported under that name.
            check.scans.push_back({shape, detail, name, tempSchema || (table != tables.end() && table->second),
                                   stats.executions, stats.fullScanSteps});
        }
    }
    return check;
}

}  // namespace bench
