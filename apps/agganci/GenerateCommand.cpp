// agganci generate MODEL: the generation run of the links form, driven on the headless shell as a user
// would: the model opened in the links form, the regenerate box ticked when asked, the generate button
// pressed, and every question the run asks answered by a flag.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/RunReport.h"
#include "apps/agganci/StopOnInterrupt.h"
#include "apps/agganci/Session.h"
#include "apps/agganci/StoredCode.h"
#include "apps/agganci/TerminalProgress.h"
#include "apps/agganci/VariantChoices.h"
#include "apps/agganci/TextCell.h"
#include "db/Constants.h"
#include "db/Variant.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/CreaArticolo.h"
#include "generation/GenerationRun.h"
#include "generation/ProcessingLog.h"
#include "host/HeadlessShell.h"
#include "host/controls/DataFrame.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Register.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace app {
namespace {

struct GenerateArgs {
    std::string model;
    bool regenerate = false;
    std::string truncate;  // "yes", "no" or "" (not given)
    bool proceedWithoutVariants = false;
    std::vector<std::string> variants;
    bool dryRun = false;
};

// A question of the run with no flag to answer it: the command stops and says which flag answers it.
struct MissingAnswer : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const std::string kTruncateQuestion = "Il codice articolo composto da Prefisso + Codice + Cod.Tess. Aggancio";

// Answers the run's questions from the flags; records a question no flag answers.
std::optional<long> Answer(const host::ShownMessage& m, const GenerateArgs& a, std::string& unanswered) {
    if (m.text == generation::kMsgVariantiNonConfigurate) {
        if (a.proceedWithoutVariants) return entry::kAnswerYes;
        unanswered = "the run asks whether to go on without a variant selection: answer with "
                     "--proceed-without-variants, or choose the variants with --variant";
        return entry::kAnswerNo;
    }
    // The command types nothing it would save: whatever the form holds when it closes is not the user's.
    if (m.text == host::controls::DataFrame::kDomandaChiusura) return entry::kAnswerNo;
    if (m.text.rfind(kTruncateQuestion, 0) == 0) {
        if (a.truncate == "yes") return entry::kAnswerYes;
        if (a.truncate == "no") return entry::kAnswerNo;
        unanswered = "a new code is longer than the company allows: answer with --truncate yes|no";
        return entry::kAnswerCancel;
    }
    return std::nullopt;
}

// What the run would do with each row, with the answer given to the too-long-code question.
void PrintPreview(const std::vector<generation::AnteprimaRiga>& rows, const GenerateArgs& a, bool json) {
    auto state = [&](const generation::AnteprimaRiga& r) -> std::string {
        if (!r.generato.empty() && !a.regenerate) return "already generated (" + r.generato + ")";
        if (r.troppoLungo && a.truncate.empty())
            return "too long (" + std::to_string(db::Len(r.codice)) + " > " + std::to_string(r.massimo) +
                   "): the run asks, answer with --truncate yes|no";
        if (r.troppoLungo && r.finale.empty()) return "too long: skipped";
        // The run records on the row the article an earlier row created; it never removes it.
        if (!r.doppione.empty()) return "same code as " + r.doppione + ": recorded, not created";
        if (r.esiste && !a.regenerate) return "exists: recorded, not created";
        // Regenerating replaces only an article the row created: any other is kept, and recorded on the row.
        if (r.esiste && !r.dellaRiga) return "exists, not created by this row: kept and recorded";
        if (!r.motivo.empty()) return "would not be created: " + r.motivo;
        return a.regenerate && r.esiste ? "would regenerate" : "would create";
    };
    auto code = [](const generation::AnteprimaRiga& r) { return r.finale.empty() ? r.codice : r.finale; };
    if (json) {
        nlohmann::json j = nlohmann::json::array();
        for (const auto& r : rows)
            j.push_back({{"fabric", r.tessuto},
                         {"code", code(r)},
                         {"generated", r.generato},
                         {"maxLength", r.massimo},
                         {"tooLong", r.troppoLungo},
                         {"exists", r.esiste},
                         {"sameCodeAs", r.doppione},
                         {"state", state(r)},
                         {"reason", r.motivo}});
        std::cout << JsonText(j) << "\n";
        return;
    }
    for (const auto& r : rows)
        std::cout << Cell(r.tessuto, 18) << Cell(code(r), 28) << state(r) << "\n";
}

void Run(const GlobalOptions& options, GenerateArgs a) {
    const std::map<std::string, VariantChoice> choices = ParseVariantChoices(a.variants);
    {
        Session s = OpenSession(options, a.dryRun ? Access::Read : Access::Write);
        // New codes are built from the model's code: the stored spelling, whatever case was typed.
        if (const auto stored = StoredArticleCode(*s.connection, options.company, a.model)) a.model = *stored;
    }
    links_form::Register();

    auto shell = host::HeadlessShell::Start(options.db, options.company);
    ShowProgressOnStderr(*shell, options.quiet);
    std::string unanswered;
    shell->Messages()->SetMessageResponder([&](const host::ShownMessage& m) { return Answer(m, a, unanswered); });

    host::ProgramRequest request;
    request.articoloOrigine = db::Variant(a.model);
    auto program = shell->Apri(request);
    struct Closing {  // the window is closed whatever happens
        std::shared_ptr<host::HeadlessShell>& shell;
        std::shared_ptr<entry::CLSFA_AGGANCI>& program;
        ~Closing() {
            try {
                if (program) shell->Chiudi(program);
            } catch (...) {
                // The session ends anyway: the shell closes what is left when it goes.
            }
        }
    } closing{shell, program};

    auto form = std::dynamic_pointer_cast<links_form::FRMFA_AGGANCI>(shell->OpenForm(entry::kLinksFormName));
    if (!form) throw std::runtime_error("the links form did not open");
    auto rows = form->RstAggDettaglio();
    if (!rows || rows->State() != db::adStateOpen || rows->RecordCount() == 0)
        throw std::runtime_error("model '" + a.model + "' has no link rows in company " + std::to_string(options.company));

    if (!choices.empty()) {
        // Through the variant form opened from the links tab, as the user does it: the model's variants. The
        // dry run makes them too, so that it refuses a variant the run would refuse.
        ChooseThroughVariantForm(*shell, choices, [&] {
            shell->Act(entry::kLinksFormName, host::UserScript().Click("CMD_VARIANTI"));
        });
        if (!form->RstSelezioneVarianti()) throw std::runtime_error("--variant: the variant form did not open");
    }
    auto run = form->LinksRunRequest();
    run.regenerate = a.regenerate;  // the box the run ticks
    const auto preview = generation::AnteprimaGenerazione(form->Contesto(), run, a.truncate == "yes");
    // The dry run refuses it too: it would show articles the run never makes.
    if (choices.empty() && !a.proceedWithoutVariants) throw MissingAnswer(kNoVariantSelection);
    if (a.dryRun) {
        PrintPreview(preview, a, options.json);
        return;
    }
    // Questions known before the run starts are refused before anything is written.
    for (const auto& r : preview)
        if (r.troppoLungo && a.truncate.empty())
            throw MissingAnswer("the code " + r.codice + " is longer than " + std::to_string(r.massimo) +
                                " characters: answer the run's question with --truncate yes|no");

    MakeLogFolder(*shell->Global());
    host::UserScript script;
    if (a.regenerate && form->ZEL_CHKRIGENERA() != 1) script.Click("ZEL_CHKRIGENERA");
    script.Click("CMD_DUPLICA");
    const std::size_t boxesBefore = shell->Messages()->ErrorBoxes().size();
    bool acted = false;
    {
        const StopOnInterrupt interrupt;
        acted = shell->Act(entry::kLinksFormName, script);
    }
    if (!unanswered.empty()) throw MissingAnswer(unanswered);
    // Messages the run shows (a row's missing data, a refused run) are in its outcome; errors are not.
    std::vector<std::string> errors = ErrorBoxesSince(*shell->Messages(), boxesBefore);
    if (!acted) errors.insert(errors.end(), shell->Failures().begin(), shell->Failures().end());
    ReportRun(form->LastRunOutcome(), form->LogElaborazione(), options.json, {{"model", a.model}}, errors,
              RunItems::LinkRows);
}

}  // namespace

void AddGenerateCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand(
        "generate",
        "Run the link generation of a model, as the links form's Generate button does: for every link row "
        "without a generated article (every row with --regenerate) the article prefix + model + fabric is "
        "created from the model and recorded on the row. The processing log is printed at the end.");
    static GenerateArgs args;
    cmd->add_option("MODEL", args.model, "Code of the model article whose links are generated")->required();
    cmd->add_flag("--regenerate", args.regenerate,
                  "Tick \"Rigenera agganci esistenti\": rows already generated are generated again (the previous "
                  "article stays when the new one cannot be created; an article the row did not create is kept)");
    cmd->add_option("--truncate", args.truncate,
                    "Answer to the question asked for a code longer than the company allows: yes truncates it, "
                    "no skips the row")
        ->check(CLI::IsMember({"yes", "no"}));
    cmd->add_flag("--proceed-without-variants", args.proceedWithoutVariants,
                  "Answer yes to \"Gestione varianti non configurata. Procedere Ugualmente?\"");
    cmd->add_option("--variant", args.variants,
                    "Variant activation, CODE=on|off[:auto|:GROUP], as chosen in the variant form: on/off "
                    "switches the variant on the new articles; :auto gives it a grouping named after the new "
                    "code, :GROUP a grouping of that code");
    cmd->add_flag("--dry-run", args.dryRun,
                  "List, per link row, the code the run would write (after truncation, with --truncate yes) and "
                  "whether it exists, is taken by an earlier row, is too long or is already generated; nothing is "
                  "written");
    cmd->callback([&options] { Run(options, args); });
}

}  // namespace app
