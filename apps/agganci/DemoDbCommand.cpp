// agganci demo-db PATH [--articles N]
#include <filesystem>
#include <iostream>
#include <limits>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/DemoDatabaseFile.h"
#include "apps/agganci/JsonValue.h"
#include "db/Connection.h"
#include "db/QueryValue.h"

namespace app {

void AddDemoDbCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("demo-db", "Build a demo company database (SQLite file) with models, fabrics, "
                                              "variants, barcodes, production data, bills of materials and links.");
    static std::string path;
    static long articles = 0;
    static bool replace = false;
    cmd->add_option("PATH", path, "SQLite file to create")->required();
    WholeNumber(cmd->add_option("--articles", articles,
                                "Also add N generated articles with full satellite data (for benchmarks)"),
                0, std::numeric_limits<long>::max());
    cmd->add_flag("--replace", replace, "Overwrite PATH when it exists");
    cmd->callback([&options] {
        const std::string exists = path + " already exists (use --replace to overwrite it)";
        if (!replace && std::filesystem::exists(path)) throw std::runtime_error(exists);
        erp::DemoOptions demo;
        demo.company = options.company;
        demo.extraArticles = articles;
        const auto summary = BuildDemoDatabaseFile(path, demo, replace);
        if (!summary) throw std::runtime_error(exists);
        if (!options.json) {
            std::cout << "Demo database " << path << " created: " << *summary << "\n";
            return;
        }
        auto c = db::Connection::Create();
        c->Open("sqlite:" + path);
        const long count = db::QueryValue(*c, "SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = " +
                                                  std::to_string(options.company))
                               .CLng();
        c->Close();
        std::cout << JsonText(nlohmann::json{
                         {"database", path}, {"company", options.company}, {"articles", count}, {"summary", *summary}})
                  << "\n";
    });
}

}  // namespace app
