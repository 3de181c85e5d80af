// agganci show CODE: what an article holds, table by table, and where it comes from: the link row that
// recorded it (model, fabric) when a link generation made or adopted it.
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArticleCounts.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Session.h"
#include "apps/agganci/StoredCode.h"
#include "db/Field.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace app {
namespace {

nlohmann::ordered_json Rows(db::Connection& c, const std::string& statement) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    auto rs = c.Execute(statement);
    if (!rs || rs->RecordCount() == 0) return rows;
    auto fields = rs->GetFields();
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        nlohmann::ordered_json row = nlohmann::ordered_json::object();
        for (long i = 0; i < fields.Count(); ++i) row[fields[i].Name()] = JsonValue(fields[i].Value());
        rows.push_back(row);
    }
    return rows;
}

nlohmann::ordered_json Article(db::Connection& c, long company, const std::string& code) {
    nlohmann::ordered_json j{{"article", code}, {"company", company}};
    const std::string quoted = db::SqlText(code);
    j["links"] = Rows(c, "SELECT FA63_CODART_MG66 AS model, FA64_CODTESS_FA12 AS fabric, FA64_DESCRIZIONE AS description "
                         "FROM FA64_AGGANCIDET INNER JOIN FA63_AGGANCI ON FA63_GUID = FA64_GUID_FA63 "
                         "WHERE FA64_DITTA_CG18 = " + std::to_string(company) +
                         " AND FA64_ARTAGGANCIO_MG66 = " + quoted + " ORDER BY FA63_CODART_MG66, FA64_CODTESS_FA12");
    j["tables"] = nlohmann::ordered_json::object();
    for (const auto& t : ArticleRowsByTable(company, code)) {
        auto rows = Rows(c, "SELECT * FROM " + t.table + " WHERE " + t.where);
        if (!rows.empty()) j["tables"][t.table] = rows;
    }
    return j;
}

void Print(const nlohmann::ordered_json& j) {
    std::cout << "Article " << j["article"].get<std::string>() << " (company " << j["company"] << ")\n";
    for (const auto& l : j["links"])
        std::cout << "Link: model " << l["model"].get<std::string>() << ", fabric " << l["fabric"].get<std::string>()
                  << "\n";
    for (const auto& [table, rows] : j["tables"].items()) {
        std::cout << "\n" << table << " (" << rows.size() << (rows.size() == 1 ? " row" : " rows") << ")\n";
        for (const auto& row : rows) {
            std::string line;
            for (const auto& [column, value] : row.items()) {
                if (value.is_null()) continue;
                line += (line.empty() ? "  " : "  ") + column + "=" +
                        (value.is_string() ? value.get<std::string>() : JsonText(value, -1));
            }
            std::cout << line << "\n";
        }
    }
}

}  // namespace

void AddShowCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("show", "Show what an article holds, table by table (columns left empty are "
                                           "not printed), and the link row that recorded it");
    static std::string code;
    cmd->add_option("CODE", code, "Article code (any case)")->required();
    cmd->callback([&options] {
        Session s = OpenSession(options, Access::Read);
        const auto stored = StoredArticleCode(*s.connection, options.company, code);
        if (!stored)
            throw std::runtime_error("CODE: article '" + code + "' does not exist in company " +
                                     std::to_string(options.company));
        const auto j = Article(*s.connection, options.company, *stored);
        if (options.json) std::cout << JsonText(j) << "\n";
        else Print(j);
    });
}

}  // namespace app
