// agganci log [--last | --list | RUN]: the processing logs of the company's generation and mass-duplication
// runs, from the host's journal of runs (CG9L_LOGELAB and its lines) and the log files of the company's log
// folder. Without RUN, the last run: from the journal, or when it has none the newest log file.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Session.h"
#include "db/Field.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "db/Variant.h"
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

// The run `id` of the journal, or its last run without one.
std::optional<Log> DalGiornale(db::Connection& c, long ditta, std::optional<long> id = std::nullopt) {
    auto run = c.Execute("SELECT TOP 1 CG9L_IDELAB, CG9L_TITOLO, CG9L_DTINIZIO, CG9L_STATO FROM CG9L_LOGELAB WITH (NOLOCK) "
                         "WHERE CG9L_DITTA_CG18 = " + db::SqlNumber(db::Variant(ditta)) +
                         (id ? " AND CG9L_IDELAB = " + std::to_string(*id) : std::string()) +
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

// The company's "Generazione_Agganci_Aperture_<company>__<moment>[_n].txt" files, oldest first.
std::vector<std::filesystem::directory_entry> FileDelLog(const host::GlobalObject& global, long ditta) {
    const std::filesystem::path cartella = generation::CartellaDeiLog(global);
    const std::string inizio = std::string(generation::NomeBaseLog) + "_" + std::to_string(ditta) + "__";
    std::vector<std::filesystem::directory_entry> file;
    std::error_code ec;
    for (const auto& f : std::filesystem::directory_iterator(cartella, ec)) {
        const std::string nome = f.path().filename().string();
        if (nome.rfind(inizio, 0) == 0 && f.path().extension() == ".txt") file.push_back(f);
    }
    std::sort(file.begin(), file.end(), [](const auto& a, const auto& b) {
        return a.last_write_time() != b.last_write_time() ? a.last_write_time() < b.last_write_time()
                                                          : a.path() < b.path();
    });
    return file;
}

// The order in which log files of one journal title were made, from their names: the moment (year, month, day,
// hour, minute, second), then the counter of a later run in the same second (1 for none).
std::vector<long> OrdineDiCreazione(const std::filesystem::path& file) {
    std::string momento = file.stem().string();
    momento.erase(0, momento.rfind("__") + 2);  // FileDelLog took only names with it
    std::replace_if(momento.begin(), momento.end(), [](char c) { return c == '.' || c == '_'; }, ' ');
    std::istringstream numeri(momento);
    std::vector<long> n{std::istream_iterator<long>(numeri), std::istream_iterator<long>()};
    if (n.size() == 6) n.push_back(1);
    if (n.size() != 7) return n;  // a name no run made: its numbers as they come
    return {n[2], n[1], n[0], n[3], n[4], n[5], n[6]};
}

// The journal's title of a run is the first 50 characters of its log file's name without the counter.
std::string TitoloNelGiornale(const std::filesystem::path& file) {
    std::string nome = file.stem().string();
    const auto contatore = nome.rfind('_');
    if (nome.find_first_not_of("0123456789", contatore + 1) == std::string::npos) nome.erase(contatore);
    return db::Left(nome, 50);  // CG9L_TITOLO
}

// The journal does not name a run's log file, and runs started in the same second share a title. The runs of one
// title and the files of that title are paired in the order they were made, where there are as many of each: a
// file deleted or brought in would shift the pairs, so then none is given.
void AggiungiFile(nlohmann::json& runs, const std::vector<std::filesystem::directory_entry>& files) {
    std::map<std::string, std::vector<std::filesystem::path>> filePerTitolo;
    for (const auto& f : files) filePerTitolo[TitoloNelGiornale(f.path())].push_back(f.path());
    std::map<std::string, std::vector<nlohmann::json*>> runPerTitolo;
    for (auto& r : runs) runPerTitolo[r["title"].get<std::string>()].push_back(&r);
    for (auto& [titolo, diTitolo] : runPerTitolo) {
        auto& file = filePerTitolo[titolo];
        if (file.size() != diTitolo.size()) continue;
        std::sort(file.begin(), file.end(),
                  [](const auto& a, const auto& b) { return OrdineDiCreazione(a) < OrdineDiCreazione(b); });
        for (std::size_t i = 0; i < file.size(); ++i) (*diTitolo[i])["file"] = file[i].string();
    }
}

Log LeggiFile(const std::filesystem::path& percorso) {
    Log log;
    log.origine = "file";
    log.titolo = percorso.string();
    std::ifstream in(percorso);
    if (!in) throw std::runtime_error("RUN: cannot read the log file " + percorso.string());
    for (std::string riga; std::getline(in, riga);) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        log.righe.push_back({riga, 0});
    }
    return log;
}

// RUN is a run number of the journal, or a log file: a path, or a name in the company's log folder.
Log Cerca(db::Connection& c, const host::GlobalObject& global, long ditta, const std::string& run) {
    if (!run.empty() && run.find_first_not_of("0123456789") == std::string::npos) {
        // A number too large for a run number is no run of the journal either.
        long id = 0;
        const auto [end, error] = std::from_chars(run.data(), run.data() + run.size(), id);
        if (error == std::errc() && end == run.data() + run.size())
            if (auto log = DalGiornale(c, ditta, id)) return *log;
        throw std::runtime_error("RUN: the journal has no run " + run + " for company " + std::to_string(ditta) +
                                 " (agganci log --list shows them)");
    }
    std::error_code ec;
    if (std::filesystem::is_regular_file(run, ec)) return LeggiFile(run);
    const std::filesystem::path nellaCartella = std::filesystem::path(generation::CartellaDeiLog(global)) / run;
    if (std::filesystem::is_regular_file(nellaCartella, ec)) return LeggiFile(nellaCartella);
    throw std::runtime_error("RUN: no run or log file '" + run + "' (agganci log --list shows them)");
}

void Elenca(const GlobalOptions& options, db::Connection& c, const host::GlobalObject& global) {
    nlohmann::json runs = nlohmann::json::array();
    auto rs = c.Execute("SELECT CG9L_IDELAB, CG9L_TITOLO, CG9L_DTINIZIO, CG9L_STATO FROM CG9L_LOGELAB WITH (NOLOCK) "
                        "WHERE CG9L_DITTA_CG18 = " + db::SqlNumber(db::Variant(options.company)) +
                        " ORDER BY CG9L_IDELAB");
    if (rs->RecordCount() > 0)
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
            runs.push_back({{"run", (*rs)["CG9L_IDELAB"].Value().CLng()},
                            {"title", db::RTrim((*rs)["CG9L_TITOLO"].Value().Text())},
                            {"started", (*rs)["CG9L_DTINIZIO"].Value().Text()},
                            {"status", (*rs)["CG9L_STATO"].Value().CLng()}});
    const auto fileDelLog = FileDelLog(global, options.company);
    AggiungiFile(runs, fileDelLog);
    nlohmann::json files = nlohmann::json::array();
    for (const auto& f : fileDelLog)
        files.push_back({{"file", f.path().string()}, {"bytes", static_cast<long long>(f.file_size())}});
    if (options.json) {
        std::cout << JsonText(nlohmann::json{{"runs", runs}, {"files", files}}) << "\n";
        return;
    }
    // A run's file tells apart the runs of one title; its name holds the title.
    std::cout << "Runs in the journal (agganci log RUN):\n";
    for (const auto& r : runs)
        std::cout << "  " << std::left << std::setw(6) << r["run"].get<long>() << std::setw(22)
                  << r["started"].get<std::string>()
                  << (r.contains("file") ? std::filesystem::path(r["file"].get<std::string>()).filename().string()
                                         : r["title"].get<std::string>())
                  << "\n";
    std::cout << "Log files (agganci log FILE):\n";
    for (const auto& f : files) std::cout << "  " << f["file"].get<std::string>() << "\n";
}

// A journal line as the file shows it: the run writes some texts ending in CR LF, which the file gives as an
// empty line after it; the CR alone would be a stray character on the terminal.
std::string SenzaCr(const std::string& testo) {
    std::string riga;
    for (std::size_t i = 0; i < testo.size(); ++i)
        if (testo[i] != '\r' || (i + 1 < testo.size() && testo[i + 1] != '\n')) riga += testo[i];
    return riga;
}

void Stampa(const GlobalOptions& options, bool elenco, const std::string& run) {
    Session s = OpenSession(options, Access::Read);
    auto& c = *s.connection;
    const host::GlobalObject global(options.db, options.company, c);
    if (elenco) return Elenca(options, c, global);
    std::optional<Log> log;
    if (!run.empty()) log = Cerca(c, global, options.company, run);
    if (!log) log = DalGiornale(c, options.company);
    if (!log) {
        const auto file = FileDelLog(global, options.company);
        if (!file.empty()) log = LeggiFile(file.back().path());
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
        std::cout << JsonText(j) << "\n";
        return;
    }
    if (log->origine == "journal") std::cout << "Run: " << log->titolo << " (started " << log->inizio << ")\n";
    else std::cout << "File: " << log->titolo << "\n";
    for (const Riga& r : log->righe) std::cout << SenzaCr(r.testo) << "\n";
}

}  // namespace

void AddLogCommand(CLI::App& cli, GlobalOptions& options) {
    auto* cmd = cli.add_subcommand("log", "Print the processing log of a generation or mass-duplication run: the "
                                          "last one, or the run or file named; --list lists them");
    static bool last = false;
    static bool list = false;
    static std::string run;
    cmd->add_flag("--last", last, "The last run's log (the default)");
    cmd->add_flag("--list", list,
                  "List the runs of the journal, each with its log file, and the log files of the company's log "
                  "folder");
    cmd->add_option("RUN", run, "A run number of the journal, or a log file (a path or a name in the log folder)");
    cmd->callback([&options] {
        if (list && !run.empty()) throw std::runtime_error("--list: give either --list or RUN");
        Stampa(options, list, run);
    });
}

}  // namespace app
