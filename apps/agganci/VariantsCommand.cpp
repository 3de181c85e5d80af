// agganci variants MODEL: the variant list the variant form offers for a model on the links tab, read
// from the form itself on the headless shell (the form is opened from the links form and closed again).
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/LinksFormSession.h"
#include "apps/agganci/TextCell.h"
#include "entry/ControlsGrid.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "variants_form/ApriVarianti.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace app {
namespace {

void Run(const GlobalOptions& options, const std::string& model) {
    LinksFormSession session(options, Access::Read);
    session.ApriModello(model);
    auto& form = session.Form();
    bool shown = false;
    nlohmann::json variants = nlohmann::json::array();
    session.Shell().WhenShown(
        variants_form::kNomeForm,
        host::UserScript()
            .Do("read the variant list",
                [&](entry::Form& f, host::HeadlessShell&) {
                    auto grid = std::dynamic_pointer_cast<entry::IGrid>(f.Control("QGRD_VARIANTI"));
                    if (!grid) return;
                    shown = true;
                    for (long row = 1; row <= grid->RowCount(); ++row)
                        variants.push_back({{"code", grid->CellText(row, "MG5F_CODICEVAR")},
                                            {"description", grid->CellText(row, "MG5F_DESCR_VAR")},
                                            {"on", grid->CellText(row, "SEL") == "1"}});
                })
            .Close());
    variants_form::AperturaVarianti apertura;
    apertura.finestra = form.shared_from_this();
    apertura.ActiveInterface = form.ActiveInterface();
    apertura.Gcon_Connect = form.Gcon_Connect();
    apertura.Gcls_Log = form.Gcls_Log();
    apertura.tabVisible = entry::Util_Agganci;
    apertura.Articolo = model;
    variants_form::ApriVarianti(apertura);
    if (!shown) throw std::runtime_error("MODEL: the variant form did not open for '" + model + "'");
    if (options.json) {
        std::cout << JsonText(nlohmann::json{{"model", model}, {"variants", variants}}) << "\n";
        return;
    }
    for (const auto& v : variants)
        std::cout << Cell(v["code"].get<std::string>(), 8) << Cell(v["description"].get<std::string>(), 32)
                  << (v["on"].get<bool>() ? "on" : "off") << "\n";
}

}  // namespace

void AddVariantsCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("variants", "Print the variant list the variant form offers for a model "
                                               "on the links tab: code, description, on/off");
    static std::string model;
    cmd->add_option("MODEL", model, "Code of the model article")->required();
    cmd->callback([&options] { Run(options, model); });
}

}  // namespace app
