// agganci links show|add|remove MODEL: the link header and rows of a model, read and written through the
// links form on the headless shell, so that the command line obeys the form's validation and save rules.
#include <iostream>
#include <optional>
#include <stdexcept>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/LinksFormSession.h"
#include "db/Decimal.h"
#include "db/Error.h"
#include "db/Field.h"
#include "db/Quote.h"
#include "db/Transaction.h"
#include "db/Recordset.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/controls/Grid.h"

namespace app {
namespace {

namespace p = entry::pulsanti;

struct Testata {
    bool esiste = false;
    std::string guid, prefisso, tessutoPrincipale, sequenza, codiceAlternativo;
    bool usaCodiceAlternativo = false;
};

struct Riga {
    std::string guid, tessuto, descrizione, descrizioneEstesa, quantita, stagione, marchio, linea, tipologia, generato;
};

bool StessoCodice(const std::string& a, const std::string& b) { return db::SameText(db::Trim(a), db::Trim(b)); }

Testata LeggiTestata(LinksFormSession& s) {
    Testata t;
    auto& form = s.Form();
    const auto& ui = form.Ui();
    const auto rs = form.RstAggTestata();
    t.esiste = rs && ui.FME_AGGANCI->Status() == entry::kvStatoNavigazione && rs->RecordCount() > 0 && !rs->EOF();
    if (!t.esiste) return t;
    t.guid = entry::Pfun_Testo((*rs)["FA63_GUID"].Value());
    t.prefisso = db::Trim(ui.TXT_PREFISSO->Text());
    t.tessutoPrincipale = db::Trim(ui.TXT_TESSPRINC->Text());
    t.sequenza = db::Trim(ui.TXT_SEQUENZA->Text());
    t.usaCodiceAlternativo = ui.CHK_CODALT->Value() == 1;
    t.codiceAlternativo = db::Trim(ui.TXT_CODICEALTERNATIVO->Text());
    return t;
}

// The rows in the grid's order, with the season code the grid shows.
std::vector<Riga> LeggiRighe(LinksFormSession& s) {
    std::vector<Riga> righe;
    auto& form = s.Form();
    const auto rs = form.RstAggDettaglio();
    const auto grid = s.Shell().ControlOf<host::controls::Grid>(entry::kLinksFormName, "QGRD_AGGANCI");
    if (!rs || !grid || rs->RecordCount() == 0) return righe;
    auto cursor = rs->Clone();
    long n = 0;
    for (cursor->MoveFirst(); !cursor->EOF(); cursor->MoveNext()) {
        ++n;
        auto testo = [&](const char* campo) { return entry::Pfun_Testo((*cursor)[campo].Value()); };
        // The blank new row the frame offers once the last row is gone is no link: it has no key yet.
        if (testo("FA64_GUID").empty()) continue;
        righe.push_back({testo("FA64_GUID"), testo("FA64_CODTESS_FA12"), testo("FA64_DESCRIZIONE"),
                         testo("FA64_DESCRESTESA"), testo("FA64_QTA1DIBA"), grid->CellText(n, "MG5T_CODICE"),
                         testo("FA64_MARCHIO_FA06"), testo("FA64_LINEA_FA05"), testo("FA64_TIPOLOGIA_FA04"),
                         testo("FA64_ARTAGGANCIO_MG66")});
    }
    return righe;
}

std::string OTrattino(const std::string& s) { return s.empty() ? "-" : s; }
// "-" alone is a valid prefix: an empty one is said in words.
std::string Prefisso(const std::string& s) { return s.empty() ? "(none)" : s; }

// --- show ---

void Mostra(const GlobalOptions& options, const std::string& modello) {
    LinksFormSession s(options, Access::Read);
    s.ApriModello(modello);
    const std::string descrizione = db::Trim(s.Form().Ui().TXT_DESCMODORIGINE->Text());
    const Testata t = LeggiTestata(s);
    const std::vector<Riga> righe = t.esiste ? LeggiRighe(s) : std::vector<Riga>{};

    if (options.json) {
        nlohmann::json j;
        j["model"] = db::Trim(s.Form().Ui().TXT_MODORIGINE->Text());
        j["description"] = descrizione;
        if (t.esiste) {
            j["header"] = {{"guid", t.guid},
                           {"prefix", t.prefisso},
                           {"mainFabric", t.tessutoPrincipale},
                           {"sequence", JsonNumber(t.sequenza)},
                           {"useAlternativeCode", t.usaCodiceAlternativo},
                           {"alternativeCode", t.codiceAlternativo}};
        } else {
            j["header"] = nullptr;
        }
        j["links"] = nlohmann::json::array();
        for (const Riga& r : righe)
            j["links"].push_back({{"guid", r.guid},
                                  {"fabric", r.tessuto},
                                  {"description", r.descrizione},
                                  {"extendedDescription", r.descrizioneEstesa},
                                  {"quantity", JsonNumber(r.quantita)},
                                  {"season", r.stagione},
                                  {"brand", r.marchio},
                                  {"line", r.linea},
                                  {"typology", r.tipologia},
                                  {"generated", r.generato}});
        std::cout << JsonText(j) << "\n";
        return;
    }

    std::cout << "Model " << db::Trim(s.Form().Ui().TXT_MODORIGINE->Text()) << " - " << descrizione << "\n";
    if (!t.esiste) {
        std::cout << "No links.\n";
        return;
    }
    std::cout << "Prefix: " << Prefisso(t.prefisso) << "   Main fabric: " << OTrattino(t.tessutoPrincipale)
              << "   Sequence: " << OTrattino(t.sequenza) << "   Alternative code: "
              << (t.usaCodiceAlternativo ? t.codiceAlternativo : std::string("(not used)")) << "\n";
    std::cout << "Links: " << righe.size() << "\n";
    if (righe.empty()) return;
    const std::string riga = "  {:<20} {:<34} {:>8}  {:<8} {:<14} {:<14} {:<10} {}\n";
    std::cout << fmt::format(fmt::runtime(riga), "FABRIC", "DESCRIPTION", "QTY", "SEASON", "BRAND", "LINE", "TYPOLOGY",
                             "GENERATED");
    for (const Riga& r : righe)
        std::cout << fmt::format(fmt::runtime(riga), r.tessuto, r.descrizione, r.quantita, OTrattino(r.stagione),
                                 OTrattino(r.marchio), OTrattino(r.linea), OTrattino(r.tipologia), OTrattino(r.generato));
}

// --- add ---

struct AddArgs {
    std::string modello, tessuto, descrizione;
    std::optional<std::string> descrizioneEstesa, quantita, stagione, linea, marchio, tipologia, prefisso,
        tessutoPrincipale, sequenza, codiceAlternativo;
};

void Aggiungi(const GlobalOptions& options, const AddArgs& a) {
    LinksFormSession s(options);
    s.ApriModello(a.modello);
    const auto& ui = s.Form().Ui();
    const bool nuovaTestata = ui.FME_AGGANCI->Status() == entry::kvStatoNuovo;

    auto scrivi = [&](const std::string& argomento, const char* campo, const std::optional<std::string>& valore) {
        if (valore) s.Passo(argomento, host::UserScript().Type(campo, *valore));
    };
    // The form locks the prefix of a saved header (the codes already generated carry it).
    if (a.prefisso && !nuovaTestata)
        throw std::runtime_error("--prefix: the prefix of a saved link header cannot be changed (it is " +
                                 Prefisso(LeggiTestata(s).prefisso) + ")");
    scrivi("--prefix", "TXT_PREFISSO", a.prefisso);
    scrivi("--main-fabric", "TXT_TESSPRINC", a.tessutoPrincipale);
    scrivi("--sequence", "TXT_SEQUENZA", a.sequenza);
    if (a.codiceAlternativo) {
        if (ui.CHK_CODALT->Value() != 1) s.Passo("--alt-code", host::UserScript().Click("CHK_CODALT"));
        scrivi("--alt-code", "TXT_CODICEALTERNATIVO", a.codiceAlternativo);
    }

    s.Passo("--fabric", host::UserScript().Press("GRIDNAV_AGGANCI", p::Nuovo));
    scrivi("--fabric", "TXT_TSAGGANCIO", a.tessuto);
    scrivi("--description", "TXT_DESCARTDAGENERARE", a.descrizione);
    scrivi("--extended-description", "TXT_DESCARTESTDAGENERARE", a.descrizioneEstesa);
    scrivi("--quantity", "TXT_QTA1", a.quantita);
    scrivi("--season", "TXT_STAGIONE", a.stagione);
    scrivi("--line", "TXT_LINEA", a.linea);
    scrivi("--brand", "TXT_MARCHIO", a.marchio);
    scrivi("--typology", "TXT_TIPOLOGIA", a.tipologia);
    s.Passo("--fabric", host::UserScript().Press("GRIDNAV_AGGANCI", p::Salva));
    if (ui.FME_AGGANCIDET->Status() == entry::kvStatoNuovo) throw std::runtime_error("--fabric: the link row was not saved");
    const auto righe = s.Form().RstAggDettaglio();
    const std::string guidRiga = righe && !righe->EOF() && !righe->BOF() ? entry::Pfun_Testo((*righe)["FA64_GUID"].Value()) : "";

    s.Passo("MODEL", host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
    if (ui.FME_AGGANCI->IsChanged()) throw std::runtime_error("MODEL: the links of " + a.modello + " were not saved");
    const Testata t = LeggiTestata(s);
    const std::string modello = db::Trim(ui.TXT_MODORIGINE->Text());

    if (options.json) {
        nlohmann::json j{{"model", modello},  {"fabric", db::Trim(ui.TXT_TSAGGANCIO->Text())},
                         {"link", guidRiga},  {"header", t.guid},
                         {"headerCreated", nuovaTestata}};
        std::cout << JsonText(j) << "\n";
        return;
    }
    std::cout << "Link " << db::Trim(ui.TXT_TSAGGANCIO->Text()) << " added to " << modello;
    if (nuovaTestata) std::cout << " (new link header, prefix " << Prefisso(t.prefisso) << ")";
    std::cout << "\n";
}

// --- remove ---

void Rimuovi(const GlobalOptions& options, const std::string& modello, const std::optional<std::string>& tessuto) {
    LinksFormSession s(options);
    s.ApriModello(modello);
    const auto& ui = s.Form().Ui();
    if (!LeggiTestata(s).esiste) throw std::runtime_error("MODEL: " + modello + " has no links");

    std::vector<std::string> generati;
    long rimosse = 0;
    // The deletion and the save that writes it hold the write lock together: a generation elsewhere either
    // recorded its article before (the deletion sees it) or finds the row gone and creates nothing.
    db::Transaction unit(*s.Form().Gcon_Connect());
    if (tessuto) {
        for (;;) {
            const auto righe = LeggiRighe(s);
            long n = 0;
            for (long i = 0; i < static_cast<long>(righe.size()) && n == 0; ++i)
                if (StessoCodice(righe[i].tessuto, *tessuto)) {
                    n = i + 1;
                    if (!righe[i].generato.empty()) generati.push_back(righe[i].generato);
                }
            if (n == 0) break;
            s.Passo("--fabric", host::UserScript().SelectRow("QGRD_AGGANCI", n).Press("GRIDNAV_AGGANCI", p::Elimina));
            if (static_cast<long>(LeggiRighe(s).size()) != static_cast<long>(righe.size()) - 1)
                throw std::runtime_error("--fabric: the link " + *tessuto + " was not removed");
            ++rimosse;
        }
        if (rimosse == 0) throw std::runtime_error("--fabric: " + modello + " has no link with fabric " + *tessuto);
        s.Passo("MODEL", host::UserScript().Press("INTERNAV_AGGANCI", p::Salva));
        if (ui.FME_AGGANCI->IsChanged()) throw std::runtime_error("MODEL: the links of " + modello + " were not saved");
    } else {
        const auto righe = LeggiRighe(s);
        for (const Riga& r : righe)
            if (!r.generato.empty()) generati.push_back(r.generato);
        rimosse = static_cast<long>(righe.size());
        s.Passo("MODEL", host::UserScript().Press("INTERNAV_AGGANCI", p::Elimina));
        if (LeggiTestata(s).esiste) throw std::runtime_error("MODEL: the links of " + modello + " were not removed");
    }
    unit.Commit();
    // An article the link only recorded (its code existed already) is not the link's to remove.
    std::vector<std::string> rimossi, tenuti;
    for (const auto& g : generati) {
        const bool rimasto = s.Form().Gcon_Connect()->Execute("SELECT MG66_CODART FROM MG66_ANAGRART WHERE "
                                                              "MG66_DITTA_CG18 = " + std::to_string(s.Ditta()) +
                                                              " AND MG66_CODART = " + db::SqlText(g))
                                 ->RecordCount() > 0;
        (rimasto ? tenuti : rimossi).push_back(g);
    }

    if (options.json) {
        nlohmann::json j{{"model", modello},
                         {"removed", rimosse},
                         {"generatedArticlesRemoved", rimossi},
                         {"articlesKept", tenuti}};
        if (tessuto) j["fabric"] = *tessuto;
        else j["header"] = true;
        std::cout << JsonText(j) << "\n";
        return;
    }
    if (tessuto) std::cout << "Removed " << rimosse << " link(s) with fabric " << *tessuto << " from " << modello << "\n";
    else std::cout << "Removed the links of " << modello << " (" << rimosse << " link(s))\n";
    for (const auto& g : rimossi) std::cout << "Generated article removed: " << g << "\n";
    for (const auto& g : tenuti) std::cout << "Article kept: " << g << " was not created by the link\n";
}

}  // namespace

void AddLinksCommand(CLI::App& cli, GlobalOptions& options) {
    auto* links = cli.add_subcommand(
        "links", "The links of a model article: its link header (prefix, main fabric, alternative code) and its link "
                 "rows (one per link fabric), read and written through the links form and its rules.");
    links->require_subcommand(1);

    static std::string showModel;
    auto* show = links->add_subcommand("show", "Print the link header and rows of a model");
    show->add_option("MODEL", showModel, "Model article code")->required();
    show->callback([&options] { Mostra(options, showModel); });

    static AddArgs add;
    auto* cmd = links->add_subcommand(
        "add", "Add a link row to a model (the model's link header is created with its first row). Header values "
               "are set only while the form lets them change: the prefix of a saved header is fixed.");
    cmd->add_option("MODEL", add.modello, "Model article code (a finished product)")->required();
    // The sizes and kinds are those of the link header's and rows' columns (FA63_AGGANCI, FA64_AGGANCIDET): checked
    // as the command line is read, under the option's name, rather than refused by the form's records in their
    // inside words (a column, "Type mismatch").
    AtMost(cmd->add_option("--fabric", add.tessuto, "Link fabric (an article of kind TS)")->required(), 50);
    AtMost(cmd->add_option("--description", add.descrizione, "Description of the article to generate (at most 72 "
                                                              "characters)")
               ->required(),
           72);
    auto opzione = [&](const char* nome, std::optional<std::string>& valore, const char* aiuto) {
        return cmd->add_option_function<std::string>(nome, [&valore](const std::string& v) { valore = v; }, aiuto);
    };
    AtMost(opzione("--extended-description", add.descrizioneEstesa,
                   "Extended description of the article to generate (at most 1672 characters)"),
           1672);
    Number(opzione("--quantity", add.quantita, "Quantity of the fabric on the substituted bill line (a number, such "
                                               "as 1.5)"),
           false, db::Decimal(-999999999999999999, 5), db::Decimal(999999999999999999, 5));
    opzione("--season", add.stagione, "Season code");
    AtMost(opzione("--line", add.linea, "Line code"), 20);
    AtMost(opzione("--brand", add.marchio, "Brand code"), 20);
    AtMost(opzione("--typology", add.tipologia, "Typology code (of finished products)"), 20);
    AtMost(opzione("--prefix", add.prefisso, "Prefix of the generated codes (only for a new link header; at most 25 "
                                             "characters)"),
           25);
    AtMost(opzione("--main-fabric", add.tessutoPrincipale,
                   "Main fabric of the model's bill, replaced by the link fabric"),
           50);
    Number(opzione("--sequence", add.sequenza, "Line of the main fabric in the model's bill (a whole number)"), true,
           db::Decimal::FromInt(-2147483648LL), db::Decimal::FromInt(2147483647));
    AtMost(opzione("--alt-code", add.codiceAlternativo, "Alternative model code used in the generated codes"), 50);
    cmd->callback([&options] { Aggiungi(options, add); });

    static std::string removeModel;
    static std::optional<std::string> removeFabric;
    auto* remove = links->add_subcommand(
        "remove", "Remove the link rows of a fabric, or the whole link header with every row, together with the "
                  "articles generated from them and their bills of materials");
    remove->add_option("MODEL", removeModel, "Model article code")->required();
    remove->add_option_function<std::string>(
        "--fabric", [](const std::string& v) { removeFabric = v; }, "Remove only the rows of this link fabric");
    remove->callback([&options] { Rimuovi(options, removeModel, removeFabric); });
}

}  // namespace app
