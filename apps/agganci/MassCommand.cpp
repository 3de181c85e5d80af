// agganci mass: the mass duplication tab of the links form, driven on the headless shell as a user would:
// the mass tab chosen in the side bar, the article filters stated in the advanced query, Next, articles
// unticked in the grid, the mode, code text and parameters typed, Duplicate pressed, and the run's
// questions answered by flags.
#include <iostream>
#include <optional>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/ArticleFilter.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/RunReport.h"
#include "apps/agganci/StopOnInterrupt.h"
#include "apps/agganci/LinksFormSession.h"
#include "apps/agganci/VariantChoices.h"
#include "apps/agganci/TextCell.h"
#include "db/Quote.h"
#include "db/Variant.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/GenerationRun.h"
#include "generation/ProcessingLog.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/ComboBox.h"
#include "host/controls/DataFrame.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace app {
namespace {

struct MassArgs {
    std::vector<std::string> where;
    std::string mode;
    std::string text;
    std::optional<std::string> description, extendedDescription, season, line, brand, typology;
    std::vector<std::string> variants;
    std::vector<std::string> untick;
    std::string truncate;
    bool proceedWithoutVariants = false;
    bool dryRun = false;
};

constexpr const char* kNoArticleSelected = "--where: no article selected";

std::string ModeCaption(const std::string& mode) {
    if (mode == "prefix") return "Aggiungi prefisso";
    if (mode == "mask") return "Sostituisci parziale";
    if (mode == "replace") return "Sostituisci completa";
    throw CLI::ValidationError("--mode " + mode + ": expected prefix, mask or replace");
}

// Leaves an article out of the run. The code is found as the selection's own filter finds it, by the
// database's rule (case and trailing blanks ignored), as --where selected it.
void Untick(const db::RecordsetPtr& selection, const std::string& code) {
    auto article = selection->Clone();  // the selection keeps its row and its filter
    article->Filter(db::Variant("MG66_CODART = " + db::SqlText(code)));
    if (article->RecordCount() == 0) throw std::runtime_error("--untick " + code + ": not among the selected articles");
    article->MoveFirst();
    (*article)["SEL"].Value(db::Variant(0));
    article->Update();
}

// The form refuses an empty selection ("Nessun articolo recuperato."); one that --untick empties would make an
// empty run, with a log and nothing in it, and is refused the same way.
void RequireTicked(const db::RecordsetPtr& selection) {
    if (!selection) throw std::runtime_error(kNoArticleSelected);
    auto ticked = selection->Clone();  // the selection keeps its row and its filter
    ticked->Filter(db::Variant(mass_duplication::kFiltroSelezionati));
    if (ticked->RecordCount() == 0) throw std::runtime_error(kNoArticleSelected);
}

// The mode chosen in the tab's list, which offers the complete code only for a selection of one article.
void ChooseMode(LinksFormSession& session, const std::string& mode, long selected) {
    const std::string caption = ModeCaption(mode);
    const auto list = session.Shell().ControlOf<host::controls::ComboBox>(entry::kLinksFormName, "CBO_PREFISSO");
    bool offered = false;
    for (long i = 0; list && i < list->ListCount(); ++i) offered = offered || list->ItemCaption(i) == caption;
    if (!offered && mode == "replace")
        throw std::runtime_error("--mode replace: the complete new code needs exactly one selected article; --where "
                                 "selects " + std::to_string(selected));
    if (!offered && mode == "prefix")
        throw std::runtime_error("--mode prefix: the prefix mode is not offered when the company's article codes "
                                 "are structured");
    session.Passo("--mode", host::UserScript().Choose("CBO_PREFISSO", caption));
}

// The checks the run makes before its first question that need no answer, made for the dry run as for the
// run: the codes the Duplicate button checks, the code text the run refuses when blank, and the variants,
// chosen in the variant form the tab opens.
void CheckAsTheRun(LinksFormSession& session, const std::map<std::string, VariantChoice>& choices) {
    auto& tab = session.Form().SchedaMassiva();
    const std::size_t shown = session.Shell().Messages()->Messages().size();
    if (!tab.CodiciNoti()) session.Rifiuti(shown, "--mode");
    if (db::Trim(tab.RunRequest().text).empty())
        throw std::runtime_error(std::string("--text: ") + mass_duplication::kMsgTestoMancante);
    if (choices.empty()) return;
    // Through the variant form, as the user does it: it offers the variants of the one ticked article, or
    // every configured variant when several are ticked.
    ChooseThroughVariantForm(session.Shell(), choices,
                             [&] { session.Passo("--variant", host::UserScript().Click("CMD_GESTVARD")); });
}

// What the run would do with each ticked article, with the code it would write and why it would not.
void PrintPreview(const std::vector<mass_duplication::AnteprimaArticolo>& preview, const std::string& truncate,
                  bool json) {
    auto state = [&](const mass_duplication::AnteprimaArticolo& p) -> std::string {
        if (p.nuovo.empty()) return "no code";
        if (p.troppoLungo && truncate.empty())
            return "too long (" + std::to_string(db::Len(p.nuovo)) + " > " + std::to_string(p.massimo) +
                   "): the run asks, answer with --truncate yes|no";
        if (p.troppoLungo && truncate == "no") return "too long: skipped";
        if (!p.doppione.empty()) return "same code as " + p.doppione + ": not created";
        if (p.esiste) return "exists: not created";
        return "would create";
    };
    if (json) {
        nlohmann::json j = nlohmann::json::array();
        for (const auto& p : preview)
            j.push_back({{"source", p.vecchio},
                         {"code", p.finale.empty() ? p.nuovo : p.finale},
                         {"maxLength", p.massimo},
                         {"tooLong", p.troppoLungo},
                         {"exists", p.esiste},
                         {"sameCodeAs", p.doppione},
                         {"state", state(p)}});
        std::cout << JsonText(j) << "\n";
        return;
    }
    for (const auto& p : preview)
        std::cout << Cell(p.vecchio, 28) << Cell(p.finale.empty() ? p.nuovo : p.finale, 28) << state(p) << "\n";
}

void Run(const GlobalOptions& options, const MassArgs& a) {
    const std::map<std::string, VariantChoice> choices = ParseVariantChoices(a.variants);
    LinksFormSession session(options, a.dryRun ? Access::Read : Access::Write);
    auto& shell = session.Shell();
    std::string unanswered;
    shell.Messages()->SetMessageResponder([&](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text == host::controls::DataFrame::kDomandaChiusura) return entry::kAnswerNo;
        if (m.text == generation::kMsgVariantiNonConfigurate) {
            if (a.proceedWithoutVariants) return entry::kAnswerYes;
            unanswered = "the run asks whether to go on without a variant selection: answer with "
                         "--proceed-without-variants, or choose the variants with --variant";
            return entry::kAnswerNo;
        }
        if (m.text.rfind("Il codice articolo composto da Prefisso + CodiceArt", 0) == 0) {
            if (a.truncate == "yes") return entry::kAnswerYes;
            if (a.truncate == "no") return entry::kAnswerNo;
            unanswered = "a new code is longer than the company allows: answer with --truncate yes|no";
            return entry::kAnswerCancel;
        }
        return std::nullopt;
    });

    auto selection = SelectArticles(session, a.where);
    auto& form = session.Form();
    RequireTicked(selection);
    for (const auto& code : a.untick) Untick(selection, code);
    RequireTicked(selection);

    // One step per flag, so that a field the form refuses is reported under the flag that filled it.
    ChooseMode(session, a.mode, selection->RecordCount());
    session.Passo("--text", host::UserScript().Type("TXT_PREFISSODART", a.text));
    const std::pair<const std::optional<std::string>*, std::pair<const char*, const char*>> fields[] = {
        {&a.description, {"--description", "TXT_DESCRD"}},
        {&a.extendedDescription, {"--extended-description", "TXT_DESCRESTD"}},
        {&a.season, {"--season", "TXT_STAGIONED"}},
        {&a.line, {"--line", "TXT_LINEAD"}},
        {&a.brand, {"--brand", "TXT_MARCHIOD"}},
        {&a.typology, {"--typology", "TXT_TIPOLOGIAD"}},
    };
    for (const auto& [value, flag] : fields) {
        if (!*value) continue;
        // The tab disables the fields of one new article when several are selected: refused with that reason,
        // as the complete code is, rather than as a field nobody can reach.
        if (const auto control = session.Form().Control(flag.second); control && !control->Enabled())
            throw std::runtime_error(std::string(flag.first) + ": the option needs exactly one selected article; "
                                     "--where selects " + std::to_string(selection->RecordCount()));
        session.Passo(flag.first, host::UserScript().Type(flag.second, **value));
    }

    CheckAsTheRun(session, choices);
    // The dry run refuses it too: it would show articles the run never makes.
    if (choices.empty() && !a.proceedWithoutVariants) throw std::runtime_error(kNoVariantSelection);
    if (a.dryRun) {
        PrintPreview(mass_duplication::AnteprimaDuplicazione(form.Contesto(), form.SchedaMassiva().RunRequest(),
                                                             a.truncate == "yes"),
                     a.truncate, options.json);
        return;
    }
    // Questions known before the run starts are refused before anything is written.
    if (a.truncate.empty())
        for (const auto& p : mass_duplication::AnteprimaDuplicazione(form.Contesto(), form.SchedaMassiva().RunRequest()))
            if (p.troppoLungo)
                throw std::runtime_error("the code " + p.nuovo + " is longer than " + std::to_string(p.massimo) +
                                         " characters: answer the run's question with --truncate yes|no");
    MakeLogFolder(*shell.Global());
    const std::size_t boxesBefore = shell.Messages()->ErrorBoxes().size();
    const std::size_t messagesBefore = shell.Messages()->Messages().size();
    {
        const StopOnInterrupt interrupt;
        shell.Act(entry::kLinksFormName, host::UserScript().Click("CMD_DUPLMASS"));
    }
    // A value the tab refuses stops the run before anything is written.
    if (!form.LastRunOutcome().started) session.Rifiuti(messagesBefore, "--mode");
    if (!unanswered.empty()) throw std::runtime_error(unanswered);
    ReportRun(form.LastRunOutcome(), form.LogElaborazione(), options.json, nlohmann::json::object(),
              ErrorBoxesSince(*shell.Messages(), boxesBefore), RunItems::Articles);
}

}  // namespace

void AddMassCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand(
        "mass",
        "Run the mass duplication tab of the links form: the articles matching the filters are selected, "
        "every ticked one gets a new code (prefix, mask or complete code) and is created from it. The "
        "processing log is printed at the end.");
    static MassArgs args;
    cmd->add_option("--where", args.where,
                    "Article filter, FIELD=VALUE, FIELD=FROM..TO or FIELD^=PREFIX; FIELD is a caption of the "
                    "selection (Articolo, Famiglia, ...) or its column; given more than once, an article must match "
                    "every filter")
        ->required();
    cmd->add_option("--mode", args.mode, "prefix, mask or replace (replace: one selected article only)")
        ->required()
        ->check(CLI::IsMember({"prefix", "mask", "replace"}));
    cmd->add_option("--text", args.text,
                    "The prefix, the mask or the complete new code; the form removes single quotes from it "
                    "(--dry-run shows the codes it gives)")
        ->required();
    // The sizes of the description columns (MG87_DESCART, MG87_DESCARTEST): checked as the command line is read,
    // as links add checks them, rather than refused by the form's record in its inside words.
    AtMost(cmd->add_option("--description", args.description,
                           "Description of the new article (one article only; at most 72 characters)"),
           72);
    AtMost(cmd->add_option("--extended-description", args.extendedDescription,
                           "Extended description (one article only; at most 1672 characters); without it each new "
                           "article keeps its source's"),
           1672);
    cmd->add_option("--season", args.season, "Season code of the new articles");
    cmd->add_option("--line", args.line, "Line code of the new articles");
    cmd->add_option("--brand", args.brand, "Brand code of the new articles");
    cmd->add_option("--typology", args.typology, "Typology code (one article only)");
    cmd->add_option("--variant", args.variants,
                    "Variant activation, CODE=on|off[:auto|:GROUP], made in the variant form: the variants of the "
                    "selected article, or every configured variant when several are selected. on/off switches the "
                    "variant on the new articles; :auto gives it a grouping named after the new code, :GROUP a "
                    "grouping of that code; a variant named without :auto gets no automatic grouping, and the "
                    "variants not named keep the form's state");
    cmd->add_option("--untick", args.untick, "Leave this selected article out of the run");
    cmd->add_option("--truncate", args.truncate, "Answer to the too-long-code question: yes truncates, no skips")
        ->check(CLI::IsMember({"yes", "no"}));
    cmd->add_flag("--proceed-without-variants", args.proceedWithoutVariants,
                  "Answer yes to \"Gestione varianti non configurata. Procedere Ugualmente?\"");
    cmd->add_flag("--dry-run", args.dryRun,
                  "Make the run's checks and list the ticked articles and the code each would get; write nothing");
    cmd->callback([&options] { Run(options, args); });
}

}  // namespace app
