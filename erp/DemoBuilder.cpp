#include "erp/DemoBuilder.h"

#include <sqlite3.h>

#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Constants.h"
#include "db/Driver.h"
#include "db/sqlite/SqliteDriver.h"
#include "erp/DemoData.h"
#include "erp/Schema.h"

namespace erp {
namespace {

bool IsBlankOrComment(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (text.compare(i, 2, "--") == 0) {
            i = text.find('\n', i);
            if (i == std::string::npos) return true;
        } else {
            return false;
        }
    }
    return true;
}

// The statements of the SQLite script, as SQLite itself delimits them (a ';' inside a comment or a
// text does not end a statement).
std::vector<std::string> SqliteStatements(const std::string& script) {
    std::vector<std::string> statements;
    std::string current;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        end = end == std::string::npos ? script.size() : end + 1;
        current.append(script, start, end - start);
        start = end;
        if (sqlite3_complete(current.c_str()) && !IsBlankOrComment(current)) {
            statements.push_back(current);
            current.clear();
        }
    }
    if (!IsBlankOrComment(current)) throw std::runtime_error("The schema script ends inside a statement: " + current);
    return statements;
}

// Called while an error is on its way to the caller: that error is the one to report, so a rollback
// that fails as well (the database may have ended the transaction already) is not reported over it.
void RollbackAfterError(db::Connection& connection) noexcept {
    try {
        connection.RollbackTrans();
    } catch (...) {
    }
}

std::string Summary(demo::Writer& w, long generated) {
    const long articles = w.Count("MG66_ANAGRART");
    std::string summary = std::to_string(articles) + " articles";
    if (generated > 0) summary += " (" + std::to_string(generated) + " generated)";
    summary += ", " + std::to_string(w.Count("FA12_ARTICOLI", "FA12_TIPO_FA03 = 'TS'")) + " fabrics, " +
               std::to_string(w.Count("FA63_AGGANCI")) + " link headers with " +
               std::to_string(w.Count("FA64_AGGANCIDET")) + " rows, company " + std::to_string(w.Company());
    return summary;
}

}  // namespace

void CreateSchema(db::Connection& connection) {
    connection.BeginTrans();
    try {
        db::Driver& driver = connection.GetDriver();
        if (dynamic_cast<db::sqlite::SqliteDriver*>(&driver)) {
            // The SQLite script is SQLite's own dialect (collations, AUTOINCREMENT, defaults made of SQLite
            // functions): it goes to the driver as it is, not through the T-SQL adapter.
            for (const std::string& statement : SqliteStatements(SqliteSchemaDdl())) driver.Run(statement);
        } else {
            connection.Execute(TsqlSchemaDdl(), nullptr, static_cast<long>(db::adCmdText) | db::adExecuteNoRecords);
        }
        connection.CommitTrans();
    } catch (...) {
        RollbackAfterError(connection);
        throw;
    }
}

void CreateMissingTables(db::Connection& connection) {
    auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&connection.GetDriver());
    if (!driver) return;  // a SQL Server company gets its tables from the T-SQL script
    for (std::string statement : SqliteStatements(SqliteSchemaDdl()))
        for (const std::string create : {"CREATE TABLE ", "CREATE INDEX ", "CREATE UNIQUE INDEX "})
            if (const auto at = statement.find(create); at != std::string::npos) {
                driver->Run(statement.insert(at + create.size(), "IF NOT EXISTS "));
                break;
            }
}

std::string BuildDemoDatabase(db::Connection& connection, const DemoOptions& options) {
    if (options.extraArticles < 0 || options.extraArticles > demo::kMaxBenchArticles)
        throw std::invalid_argument("Generated articles: " + std::to_string(options.extraArticles) +
                                    " is not between 0 and " + std::to_string(demo::kMaxBenchArticles));
    // One transaction for schema and data: a failure leaves an empty database, not half a company.
    connection.BeginTrans();
    try {
        CreateSchema(connection);
        demo::Writer w(connection, options.company);
        demo::AddCompanySettings(w);
        demo::AddLookups(w);
        const auto seasons = demo::AddSeasons(w);
        demo::AddVariants(w);
        demo::Barcodes barcodes(w);
        barcodes.AddTypes();
        demo::AddComponents(w);
        demo::AddModels(w, barcodes, seasons);
        demo::AddFamilies(w, barcodes);
        demo::AddLinks(w, seasons);
        demo::AddBenchArticles(w, barcodes, options.extraArticles);
        barcodes.WriteNumbering();
        const std::string summary = Summary(w, options.extraArticles);
        connection.CommitTrans();
        return summary;
    } catch (...) {
        RollbackAfterError(connection);
        throw;
    }
}

}  // namespace erp
