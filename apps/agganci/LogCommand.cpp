// agganci log [--last]: the processing log of the last generation or mass-duplication run of the company,
// from the host's journal of runs (CG9L_LOGELAB and its lines); when the journal has none, the newest log
// file of the company in its log folder.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/Session.h"
#include "db/Field.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "generation/ProcessingLog.h"
#include "host/GlobalObject.h"

namespace app {
namespace {

struct Riga {
    std::string testo;
    long tipo = 0;  // 2 information, 3 error, 4 highlighted; 0 when the file does not say
};

struct Log {
    std::string origine;  // "journal" or "file"
    std::string titolo;   // run title, or the file's path
    std::string inizio;
    long stato = 0;
    std::vector<Riga> righe;
};

std::optional<Log> DalGiornale(db::Connection& c, long ditta) {
    auto run = c.Execute("SELECT TOP 1 CG9L_IDELAB, CG9L_TITOLO, CG9L_DTINIZIO, CG9L_STATO FROM CG9L_LOGELAB WITH (NOLOCK) "
                         "WHERE CG9L_DITTA_CG18 = " + db::SqlNumber(db::Variant(ditta)) +
                         " ORDER BY CG9L_IDELAB DESC");
    if (run->RecordCount() == 0) return std::nullopt;
    run->MoveFirst();
    Log log;
    log.origine = "journal";
    log.titolo = db::RTrim((*run)["CG9L_TITOLO"].Value().Text());
    log.inizio = (*run)["CG9L_DTINIZIO"].Value().Text();
    log.stato = (*run)["CG9L_STATO"].Value().CLng();
    auto righe = c.Execute("SELECT CG9M_TESTO, CG9M_TIPO FROM CG9M_LOGELABRIG WITH (NOLOCK) WHERE CG9M_IDELAB_CG9L = " +
                           db::SqlNumber((*run)["CG9L_IDELAB"].Value()) + " ORDER BY CG9M_RIGA");
    if (righe->RecordCount() > 0)
        for (righe->MoveFirst(); !righe->EOF(); righe->MoveNext())
            log.righe.push_back({(*righe)["CG9M_TESTO"].Value().Text(), (*righe)["CG9M_TIPO"].Value().CLng()});
    return log;
}

// The newest "Generazione_Agganci_Aperture_<company>__<moment>.txt" of the company's log folder.
std::optional<Log> DalFile(const host::GlobalObject& global, long ditta) {
    const std::filesystem::path cartella = generation::CartellaDeiLog(global);
    const std::string inizio = std::string(generation::NomeBaseLog) + "_" + std::to_string(ditta) + "__";
    std::optional<std::filesystem::directory_entry> ultimo;
    std::error_code ec;
    for (const auto& f : std::filesystem::directory_iterator(cartella, ec)) {
        const std::string nome = f.path().filename().string();
        if (nome.rfind(inizio, 0) != 0 || f.path().extension() != ".txt") continue;
        if (!ultimo || f.last_write_time() > ultimo->last_write_time()) ultimo = f;
    }
    if (!ultimo) return std::nullopt;
    Log log;
    log.origine = "file";
    log.titolo = ultimo->path().string();
    std::ifstream in(ultimo->path());
    for (std::string riga; std::getline(in, riga);) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        log.righe.push_back({riga, 0});
    }
    return log;
}

void Stampa(const GlobalOptions& options) {
    Session s = OpenSession(options);
    auto& c = *s.connection;
    std::optional<Log> log = DalGiornale(c, options.company);
    if (!log) {
        const host::GlobalObject global(options.db, options.company, c);
        log = DalFile(global, options.company);
    }
    if (!log) throw std::runtime_error("no processing log for company " + std::to_string(options.company));

    if (options.json) {
        nlohmann::json j{{"source", log->origine}, {"title", log->titolo}};
        if (log->origine == "journal") {
            j["started"] = log->inizio;
            j["status"] = log->stato;
        }
        j["lines"] = nlohmann::json::array();
        for (const Riga& r : log->righe) {
            nlohmann::json line{{"text", r.testo}};
            if (r.tipo != 0) line["kind"] = r.tipo;
            j["lines"].push_back(line);
        }
        std::cout << j.dump(2) << "\n";
        return;
    }
    if (log->origine == "journal") std::cout << "Run: " << log->titolo << " (started " << log->inizio << ")\n";
    else std::cout << "File: " << log->titolo << "\n";
    for (const Riga& r : log->righe) std::cout << r.testo << "\n";
}

}  // namespace

void AddLogCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("log", "Print the processing log of the last generation or mass-duplication run");
    static bool last = false;
    cmd->add_flag("--last", last, "The last run's log (what the command prints)");
    cmd->callback([&options] { Stampa(options); });
}

}  // namespace app
