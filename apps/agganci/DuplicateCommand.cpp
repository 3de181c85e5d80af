// agganci duplicate SOURCE NEWCODE: one article copied through the engine, in one transaction.
#include <iomanip>
#include <iostream>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArticleCounts.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/Session.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "engine/CLSFA_DUPLICA.h"

namespace app {
namespace {

struct DuplicateArgs {
    std::string source;
    std::string target;
    std::string description;
    std::string extendedDescription;
    bool hasDescription = false;
    bool hasExtended = false;
};

bool ArticleExists(db::Connection& c, long company, const std::string& code) {
    auto rs = c.Execute("SELECT MG66_CODART FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = " +
                        std::to_string(company) + " AND MG66_CODART = " + db::SqlText(code));
    return rs && rs->RecordCount() > 0;
}

// The source's descriptions, used when the command line gives none.
std::pair<std::string, std::string> SourceDescriptions(db::Connection& c, long company, const std::string& code) {
    auto rs = c.Execute("SELECT MG87_DESCART, MG87_DESCARTEST FROM MG87_ARTDESC WITH (NOLOCK) WHERE MG87_DITTA_CG18 = " +
                        std::to_string(company) + " AND MG87_CODART_MG66 = " + db::SqlText(code) +
                        " AND MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '");
    if (!rs || rs->RecordCount() == 0) return {};
    rs->MoveFirst();
    return {db::RTrim((*rs)["MG87_DESCART"].Value().Text()), db::RTrim((*rs)["MG87_DESCARTEST"].Value().Text())};
}

void Validate(const DuplicateArgs& a) {
    if (db::Trim(a.target).empty()) throw std::runtime_error("NEWCODE is empty");
    if (db::Len(a.target) > 25)
        throw std::runtime_error("NEWCODE '" + a.target + "' is longer than 25 characters");
    if (db::Len(a.description) > 72) throw std::runtime_error("--description is longer than 72 characters");
    if (db::Len(a.extendedDescription) > 1672)
        throw std::runtime_error("--extended-description is longer than 1672 characters");
}

void Run(const GlobalOptions& options, DuplicateArgs a) {
    Session s = OpenSession(options);
    auto& c = *s.connection;
    if (!ArticleExists(c, options.company, a.source))
        throw std::runtime_error("source article '" + a.source + "' does not exist in company " +
                                 std::to_string(options.company));
    if (ArticleExists(c, options.company, a.target))
        throw std::runtime_error("article '" + a.target + "' already exists in company " +
                                 std::to_string(options.company) + "; nothing was changed");
    if (!a.hasDescription || !a.hasExtended) {
        auto [d, e] = SourceDescriptions(c, options.company, a.source);
        if (!a.hasDescription) a.description = d;
        if (!a.hasExtended) a.extendedDescription = e;
    }
    Validate(a);

    c.BeginTrans();
    std::string step = "DuplicazioneAnagraficaBase";
    try {
        auto engine = std::make_shared<engine::CLSFA_DUPLICA>();
        engine->Connessione(s.connection);
        engine->Initialize();
        engine->Ditta(db::Variant(options.company));
        engine->DescrizioneArticoloDaGenerare(db::Variant(a.description));
        engine->DescrizioneEstesaArticoloDaGenerare(db::Variant(a.extendedDescription));
        engine->DuplicazioneAnagraficaBase(db::Variant(a.source), db::Variant(a.target));
        c.CommitTrans();
    } catch (const db::Error& e) {
        c.RollbackTrans();
        throw db::Error(e.Number(), "duplication failed at " + step + ", nothing was written: " + e.Description(),
                        e.Source());
    }

    const auto counts = CountArticleRows(c, options.company, a.target);
    if (options.json) {
        nlohmann::json j;
        j["source"] = a.source;
        j["article"] = a.target;
        for (const auto& [table, n] : counts) j["rows"][table] = n;
        std::cout << j.dump(2) << "\n";
        return;
    }
    std::cout << "Article " << a.target << " created from " << a.source << " (company " << options.company << ")\n";
    std::cout << "Rows written per table:\n";
    for (const auto& [table, n] : counts)
        if (n > 0) std::cout << "  " << std::left << std::setw(24) << table << n << "\n";
}

}  // namespace

void AddDuplicateCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("duplicate", "Duplicate one article into a new code through the duplication "
                                                "engine, in one transaction: all of it is written or nothing.");
    static DuplicateArgs args;
    cmd->add_option("SOURCE", args.source, "Code of the article to copy")->required();
    cmd->add_option("NEWCODE", args.target, "Code of the new article (at most 25 characters)")->required();
    cmd->add_option("--description", args.description,
                    "Description of the new article (at most 72 characters; default: the source's)");
    cmd->add_option("--extended-description", args.extendedDescription,
                    "Extended description of the new article (default: the source's)");
    cmd->callback([&options, cmd] {
        args.hasDescription = cmd->count("--description") > 0;
        args.hasExtended = cmd->count("--extended-description") > 0;
        Run(options, args);
    });
}

}  // namespace app
