// agganci articles [--where ...]: the articles the mass tab's selection finds for the same filters, with
// their description, family, season, line and brand; what `mass` would start from.
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArticleFilter.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/LinksFormSession.h"
#include "apps/agganci/TextCell.h"
#include "db/Field.h"
#include "db/Recordset.h"

namespace app {
namespace {

struct Column {
    const char* field;
    const char* name;
    int width;
};
const Column kColumns[] = {{"MG66_CODART", "code", 26},      {"MG87_DESCART", "description", 34},
                           {"MG66_FAM_MG53", "family", 8},    {"FA12_STAGIONE_MG5T", "season", 8},
                           {"FA13_LINEA_FA05", "line", 16},   {"FA13_MARCHIO_FA06", "brand", 16}};

void Run(const GlobalOptions& options, const std::vector<std::string>& where) {
    LinksFormSession session(options, Access::Read);
    auto selection = SelectArticles(session, where);

    nlohmann::json list = nlohmann::json::array();
    if (selection && selection->RecordCount() > 0)
        for (selection->MoveFirst(); !selection->EOF(); selection->MoveNext()) {
            nlohmann::json a = nlohmann::json::object();
            for (const auto& c : kColumns) a[c.name] = JsonValue((*selection)[c.field].Value());
            list.push_back(a);
        }
    if (options.json) {
        std::cout << JsonText(nlohmann::json{{"count", list.size()}, {"articles", list}}) << "\n";
        return;
    }
    for (const auto& c : kColumns) std::cout << Cell(c.name, c.width);
    std::cout << "\n";
    for (const auto& a : list) {
        for (const auto& c : kColumns) {
            const auto& v = a[c.name];
            std::cout << Cell(v.is_string() ? v.get<std::string>() : v.is_null() ? "-" : JsonText(v, -1), c.width);
        }
        std::cout << "\n";
    }
    std::cerr << list.size() << (list.size() == 1 ? " article\n" : " articles\n");
}

}  // namespace

void AddArticlesCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("articles", "List the articles the mass duplication's selection finds for the "
                                               "filters (every article without --where)");
    static std::vector<std::string> where;
    cmd->add_option("--where", where,
                    "Article filter, FIELD=VALUE, FIELD=FROM..TO or FIELD^=PREFIX, as for mass; FIELD is a caption "
                    "of the selection (Articolo, Famiglia, ...) or its column");
    cmd->callback([&options] { Run(options, where); });
}

}  // namespace app
