#include "apps/agganci/VariantChoices.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <stdexcept>

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Variant.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/Rif.h"
#include "host/controls/BasicControls.h"
#include "host/controls/Grid.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace app {
namespace {

// The engine gives the new article's row of a variant a grouping (automatic or its own) by copying the
// source article's grouping of that variant under the new code: where the source has none, the new row keeps
// none, and the choice would be dropped without a word.
void RequireGroupingToCopy(db::Connection& c, long company, const std::string& article, const std::string& code,
                           const VariantChoice& choice) {
    if (!choice.active || (!choice.automaticGrouping && choice.grouping.empty())) return;
    const auto grouping = db::QueryValue(
        c, "SELECT MG6B_CODRAGGVAR_MG5G FROM MG6B_GESVARART WITH (NOLOCK) WHERE MG6B_DITTA_CG18 = " +
               std::to_string(company) + " AND MG6B_CODART_MG66 = " + db::SqlText(article) +
               " AND MG6B_CODICEVAR_MG5F = " + db::SqlText(code));
    if (!grouping.IsNull() && !grouping.IsEmpty() && !db::Trim(grouping.Text()).empty()) return;
    throw std::invalid_argument("--variant " + code + ": the article '" + article +
                                "' has no grouping of this variant to copy into a new one; give the variant without :" +
                                (choice.automaticGrouping ? std::string("auto") : choice.grouping));
}

// The grouping check where the form lists the variants of one article (the model of the links tab, or the one
// article selected on the mass tab). On the links tab the colour variant takes its grouping from the link fabric.
void RequireGroupingToCopy(variants_form::FRMFA_VARIANTI& form, const std::string& code, const VariantChoice& choice) {
    if (form.Articolo().empty()) return;
    const auto global = entry::Rif(form.ActiveInterface).ClsGlobal();
    if (entry::Rif(form.FormChiamante).tabVisible == entry::Util_Agganci &&
        db::SameCode(code, entry::Rif(global).VarianteColore()))
        return;
    RequireGroupingToCopy(entry::Rif(form.Gcon_Connect), std::stol(entry::Rif(global).DittaCorrente()),
                          form.Articolo(), code, choice);
}

}  // namespace

std::pair<std::string, VariantChoice> ParseVariantChoice(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw CLI::ValidationError("--variant '" + text + "': expected CODE=on|off[:auto|:GROUP]");
    std::string code = db::Trim(text.substr(0, eq));
    std::string rest = text.substr(eq + 1);
    std::string grouping;
    if (auto colon = rest.find(':'); colon != std::string::npos) {
        grouping = rest.substr(colon + 1);
        rest = rest.substr(0, colon);
    }
    VariantChoice choice;
    if (rest == "on") choice.active = true;
    else if (rest == "off") choice.active = false;
    else throw CLI::ValidationError("--variant '" + text + "': the state must be on or off");
    if (grouping == "auto") choice.automaticGrouping = true;
    else if (db::Len(grouping) > 20)
        throw CLI::ValidationError("--variant '" + text + "': a grouping code has at most 20 characters");
    else choice.grouping = grouping;
    return {code, choice};
}

std::map<std::string, VariantChoice> ParseVariantChoices(const std::vector<std::string>& texts) {
    std::map<std::string, VariantChoice> choices;
    for (const auto& text : texts) {
        const auto [code, choice] = ParseVariantChoice(text);
        const auto given = std::find_if(choices.begin(), choices.end(),
                                        [&code](const auto& c) { return db::SameCode(c.first, code); });
        if (given == choices.end()) choices.emplace(code, choice);
        else if (given->second != choice)
            throw CLI::ValidationError("--variant '" + text + "': the variant " + given->first +
                                       " is given another choice already");
    }
    return choices;
}

db::RecordsetPtr BuildVariantSelection(const db::ConnectionPtr& c, long company, const std::string& source,
                                       const std::map<std::string, VariantChoice>& choices) {
    c->Execute("IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP", nullptr, db::adExecuteNoRecords);
    c->Execute("SELECT MG6B_CODICEVAR_MG5F AS MG5F_CODICEVAR, CAST(MG6B_FLGGESTVAR AS DECIMAL(1,0)) AS SEL, "
               "CAST(0 AS DECIMAL(1,0)) AS RAGGRAUTOMATICO, CAST('' AS CHAR(20)) AS RAGGRPERSONALIZZATO "
               "INTO ##TABTEMP FROM MG6B_GESVARART WHERE MG6B_DITTA_CG18 = " + std::to_string(company) +
                   " AND MG6B_CODART_MG66 = " + db::SqlText(source),
               nullptr, db::adExecuteNoRecords);
    auto rs = db::Recordset::Create();
    rs->Open("SELECT * FROM ##TABTEMP", c);
    for (const auto& [code, choice] : choices) {
        rs->Filter(db::Variant("MG5F_CODICEVAR = " + db::SqlText(code)));
        if (rs->RecordCount() == 0)
            throw std::invalid_argument("--variant " + code + ": the article '" + source + "' has no such variant");
        RequireGroupingToCopy(*c, company, source, code, choice);
        rs->MoveFirst();
        (*rs)["SEL"].Value(db::Variant(choice.active ? 1 : 0));
        (*rs)["RAGGRAUTOMATICO"].Value(db::Variant(choice.automaticGrouping ? 1 : 0));
        (*rs)["RAGGRPERSONALIZZATO"].Value(db::Variant(choice.grouping));
        rs->Update();
    }
    rs->Filter(db::Variant(0));
    return rs;
}

void ChooseInVariantForm(entry::Form& form, const std::map<std::string, VariantChoice>& choices) {
    auto& grid = dynamic_cast<host::controls::Grid&>(*form.Control("QGRD_VARIANTI"));
    auto& grouping = dynamic_cast<host::controls::TextBox&>(*form.Control("TXT_RAGGR"));
    for (const auto& [code, choice] : choices) {
        long row = 0;
        for (long r = 1; r <= grid.RowCount() && row == 0; ++r)
            if (db::SameCode(grid.CellText(r, "MG5F_CODICEVAR"), code)) row = r;
        if (row == 0) throw std::invalid_argument("--variant " + code + ": the variant form does not offer this variant");
        RequireGroupingToCopy(dynamic_cast<variants_form::FRMFA_VARIANTI&>(form), code, choice);
        const auto ticked = [&](const char* field) { return grid.CellText(row, field) == "1"; };
        if (ticked("SEL") != choice.active) grid.UserTickCell(row, "SEL");
        if (ticked("RAGGRAUTOMATICO") != choice.automaticGrouping) grid.UserTickCell(row, "RAGGRAUTOMATICO");
        if (!choice.automaticGrouping && !choice.grouping.empty()) {
            grid.UserSelectRow(row);
            if (!grouping.Enabled() || !grouping.Visible())
                throw std::invalid_argument("--variant " + code + ": the variant form takes no grouping of its own (" +
                                            choice.grouping + ") for this variant here; give :auto or no grouping");
            grouping.UserType(choice.grouping);
        }
    }
}

void ChooseThroughVariantForm(host::HeadlessShell& shell, const std::map<std::string, VariantChoice>& choices,
                              const std::function<void()>& open) {
    bool shown = false;
    std::string refused;
    shell.WhenShown(variants_form::kNomeForm, host::UserScript()
                                                  .Do("--variant",
                                                      [&](entry::Form& f, host::HeadlessShell&) {
                                                          shown = true;
                                                          try {
                                                              ChooseInVariantForm(f, choices);
                                                          } catch (const std::exception& e) {
                                                              refused = e.what();
                                                          }
                                                      })
                                                  .Close());
    open();
    if (!refused.empty()) throw std::runtime_error(refused);
    if (!shown) throw std::runtime_error("--variant: the variant form did not open");
}

}  // namespace app
