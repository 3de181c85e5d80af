// agganci duplicate SOURCE NEWCODE: one article copied through the engine, in one transaction.
#include <iomanip>
#include <iostream>
#include <map>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/ArticleCounts.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Session.h"
#include "apps/agganci/VariantChoices.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/CinterfaceBase.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "generation/DimensioneArticolo.h"
#include "host/GlobalObject.h"

namespace app {
namespace {

struct DuplicateArgs {
    std::string source;
    std::string target;
    std::string description;
    std::string extendedDescription;
    bool hasDescription = false;
    bool hasExtended = false;
    std::vector<std::string> variants;
    std::vector<std::string> skip;
    bool dryRun = false;
};

// What --skip accepts: the engine's operations and the groups the stored procedure copies.
const std::map<std::string, std::string> kSkippableSteps = {
    {"descriptions", "DuplicazioneDescrizioniInLingua"}, {"locations", "DuplicazioneUbicazioniDinamiche"},
    {"barcodes", "DuplicazioneBarcode"},                 {"customers", "DuplicazioneArticoliClienti"},
    {"suppliers", "DuplicazioneArticoliFornitori"},      {"variants", "DuplicazioneVarianti"},
    {"lots", "DuplicazioneDatiLotto"},                   {"traceability", "DuplicazioneDatiTracciabilitaProdotti"},
    {"stock-parameters", "DuplicazioneParamGestScorte"}, {"fashion", "DuplicazioneAttributiFashion"},
    {"production", "DuplicazioneDatiProduzione"},        {"bom", "DuplicazioneDiBa"},
};
const std::map<std::string, int> kSkippableGroups = {
    {"packagings", 1},     {"stock", 2},          {"alternatives", 3},   {"substitutes", 4},
    {"competitors", 5},    {"packing-list", 8},   {"fixed-locations", 9}, {"sales-prices", 13},
    {"purchase-prices", 14}, {"last-prices", 15}, {"applications", 16}, {"custom-data", 17},
    {"intra", 19},         {"lot-parameters", 20},
};

std::string SkipHelp() {
    std::string names;
    for (const auto& [n, s] : kSkippableSteps) names += (names.empty() ? "" : ", ") + n;
    for (const auto& [n, g] : kSkippableGroups) names += ", " + n;
    return names;
}

CLI::Validator SkippableGroup() {
    return CLI::Validator(
        [](std::string& name) {
            if (kSkippableSteps.count(name) > 0 || kSkippableGroups.count(name) > 0) return std::string();
            return name + " is not a group; the groups are " + SkipHelp();
        },
        "");
}

// The source's description, given to the new article when the command line gives none: the procedure that copies
// the article writes a blank one for none. Its extended description needs no reading: for none the procedure keeps
// the source's as it is.
std::string SourceDescription(db::Connection& c, long company, const std::string& code) {
    auto rs = c.Execute("SELECT MG87_DESCART FROM MG87_ARTDESC WITH (NOLOCK) WHERE MG87_DITTA_CG18 = " +
                        std::to_string(company) + " AND MG87_CODART_MG66 = " + db::SqlText(code) +
                        " AND MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '");
    if (!rs || rs->RecordCount() == 0) return {};
    rs->MoveFirst();
    return (*rs)["MG87_DESCART"].Value().Text();
}

// The one article through the component's per-article routine, as a plain copy: the source's own
// variants, no completion, and every step's failure fails the whole article.
generation::ArticleRequest Request(const Session& s, const GlobalOptions& options, const DuplicateArgs& a) {
    generation::ArticleRequest r;
    r.source = a.source;
    r.newCode = a.target;
    r.origin = generation::ArticleOrigin::MassTab;
    r.description = a.description;
    if (a.hasExtended) r.extendedDescription = a.extendedDescription;
    r.selectionSize = 1;
    r.options.complete = false;
    r.options.everyStepFatal = true;
    r.variantSelection =
        BuildVariantSelection(s.connection, options.company, a.source, ParseVariantChoices(a.variants));
    for (const auto& name : a.skip) {  // a name of one of the two tables: SkippableGroup refused any other
        if (auto st = kSkippableSteps.find(name); st != kSkippableSteps.end()) r.options.skipSteps.insert(st->second);
        else r.options.groupsOff.insert(kSkippableGroups.at(name));
    }
    return r;
}

// Nothing to ask or show: the command has validated its input, and the outcome carries the reason.
class CommandPort : public generation::IRunPort {
public:
    explicit CommandPort(generation::ProcessingLog& log) : log_(log) {}
    long Ask(const std::string&, long, const std::string&) override { return entry::kAnswerNo; }
    generation::ProcessingLog& Log() override { return log_; }

private:
    generation::ProcessingLog& log_;
};

void Run(const GlobalOptions& options, DuplicateArgs a) {
    // The article is stored under the code without its outer blanks: every check and report is about that code.
    a.target = db::Trim(a.target);
    Session s = OpenSession(options, a.dryRun ? Access::Read : Access::Write);
    auto& c = *s.connection;
    const db::Variant company(options.company);
    auto global = std::make_shared<host::GlobalObject>(options.db, options.company, c);
    auto program = std::make_shared<entry::CinterfaceBase>();
    program->ClsGlobal(global);
    program->Connection(s.connection);
    const generation::GenerationContext context{s.connection, company, program, nullptr, options.db, nullptr};
    // The company's longest code, as the links and mass runs take it.
    RequireAtMost("NEWCODE", a.target, static_cast<std::size_t>(generation::DimensioneArticolo(context)));
    if (!generation::EsisteArticolo(c, company, a.source))
        throw std::runtime_error("source article '" + a.source + "' does not exist in company " +
                                 std::to_string(options.company));
    if (generation::EsisteArticolo(c, company, a.target))
        throw std::runtime_error("article '" + a.target + "' already exists in company " +
                                 std::to_string(options.company) + "; nothing was changed");
    if (!a.hasDescription) a.description = SourceDescription(c, options.company, a.source);
    const auto request = Request(s, options, a);
    if (a.dryRun) {
        // Every check above has run; the source's rows are what the copy starts from.
        const auto counts = CountCopiedRows(c, options.company, a.source);
        if (options.json) {
            nlohmann::json j{{"source", a.source}, {"article", a.target}, {"state", "would create"}};
            for (const auto& [table, n] : counts) j["sourceRows"][table] = n;
            std::cout << JsonText(j) << "\n";
            return;
        }
        std::cout << "Article " << a.target << " would be created from " << a.source << " (company " << options.company
                  << "); nothing was written\nRows of the source per table:\n";
        for (const auto& [table, n] : counts)
            if (n > 0) std::cout << "  " << std::left << std::setw(24) << table << n << "\n";
        return;
    }
    generation::ProcessingLog log(global, s.connection);
    CommandPort port(log);
    const auto outcome = generation::CreaArticolo(context, request, port);
    if (outcome.state != generation::ArticleState::Created)
        throw std::runtime_error("duplication failed (" + outcome.reason + "); nothing was written");

    const auto counts = CountArticleRows(c, options.company, a.target);
    if (options.json) {
        nlohmann::json j;
        j["source"] = a.source;
        j["article"] = a.target;
        j["state"] = generation::StateName(outcome.state);
        for (const auto& [table, n] : counts) j["rows"][table] = n;
        std::cout << JsonText(j) << "\n";
        return;
    }
    std::cout << "Article " << a.target << " created from " << a.source << " (company " << options.company << ")\n";
    std::cout << "Rows written per table:\n";
    for (const auto& [table, n] : counts)
        if (n > 0) std::cout << "  " << std::left << std::setw(24) << table << n << "\n";
}

}  // namespace

void AddDuplicateCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand(
        "duplicate",
        "Duplicate one article into a new code through the duplication engine: master data, descriptions, "
        "locations, barcodes (newly numbered), customer and supplier codes, variants, lots, traceability, stock "
        "parameters, fashion data, production data and bill of materials, in one transaction: all of it is "
        "written or nothing.");
    static DuplicateArgs args;
    cmd->add_option("SOURCE", args.source, "Code of the article to copy")->required();
    NotBlank(cmd->add_option("NEWCODE", args.target,
                             "Code of the new article (at most as long as the company's article codes: 25 characters, "
                             "or the sum of the segments of structured codes)")
                 ->required());
    // The sizes of the description columns (MG87_ARTDESC), checked as the command line is read, as links add does.
    AtMost(cmd->add_option("--description", args.description,
                           "Description of the new article (at most 72 characters; default: the source's)"),
           72);
    AtMost(cmd->add_option("--extended-description", args.extendedDescription,
                           "Extended description of the new article (at most 1672 characters; default: the source's)"),
           1672);
    cmd->add_option("--variant", args.variants,
                    "Variant activation, CODE=on|off[:auto|:GROUP]: on/off switches the variant on the new "
                    "article; :auto gives it a grouping named after the new code, :GROUP a grouping of that code "
                    "(created from the source's when missing). Variants not named keep the source's state.");
    cmd->add_option("--skip", args.skip, "Leave a group out: " + SkipHelp())->check(SkippableGroup());
    cmd->add_flag("--dry-run", args.dryRun,
                  "Check everything (codes, lengths, variants, groups) and list the source's rows in the tables the "
                  "duplication copies; write nothing");
    cmd->callback([&options, cmd] {
        args.hasDescription = cmd->count("--description") > 0;
        args.hasExtended = cmd->count("--extended-description") > 0;
        Run(options, args);
    });
}

}  // namespace app
