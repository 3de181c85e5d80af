#include "generation/ProcessingLog.h"

#include <filesystem>
#include <utility>

#include "generation/HostObject.h"

namespace generation {
namespace {

constexpr long kHostObjectMissing = 429;

// Runs `step`; an error it raises is returned instead of thrown.
template <class F>
std::optional<db::Error> Trap(F&& step) {
    try {
        step();
        return std::nullopt;
    } catch (const db::Error& e) {
        return e;
    } catch (const std::exception& e) {
        return db::Error(db::errc::InvalidProcedureCall, e.what(), "ProcessingLog");
    }
}

// The host's log service, or none when the host has no such service: nothing in a run depends on it.
std::shared_ptr<entry::IProcessingLogService> LogServiceOfHost() {
    try {
        return entry::Host().CreateProcessingLogService();
    } catch (const db::Error& e) {
        if (e.Number() == kHostObjectMissing) return nullptr;
        throw;
    }
}

}  // namespace

std::string CartellaDeiLog(const entry::IClsGlobal& global) {
    std::string folder = global.CartellaLog();
    if (folder.empty()) {
        folder = std::filesystem::temp_directory_path().string();
        if (folder.back() != '/') folder += '/';
    }
    return folder;
}

ProcessingLog::ProcessingLog(std::shared_ptr<entry::IClsGlobal> global, db::ConnectionPtr connection,
                             Clock orologio)
    : global_(std::move(global)), connection_(std::move(connection)), orologio_(std::move(orologio)) {}

ProcessingLog::~ProcessingLog() { ChiudiFile(); }

std::string ProcessingLog::TestoAccumulato() const {
    std::string text;
    for (const std::string& line : RigheAccumulate()) text += line + "\r";
    return text;
}

void ProcessingLog::ApriLog() {
    disabilitato_ = false;
    ultimoErrore_.reset();
    // A log that cannot be opened must not stop the run: logging is switched off for this run instead,
    // silently, and the reason is kept in UltimoErrore.
    if (auto error = Trap([&] { Apri(); })) {
        Annota(*error);
        disabilitato_ = true;
    }
}

namespace {
constexpr long kFileGiaEsistente = 58;
}

void ProcessingLog::Apri() {
    // Nothing of the previous run may pass for this one's, even when this one fails to open.
    righe_.Clear();
    fileLog_.clear();
    ChiudiFile();
    servizio_.reset();  // a previous run never closed stays open in the journal

    const db::Date inizio = orologio_();
    if (nomeBase_.empty()) nomeBase_ = NomeBaseLog;
    const auto global = Richiesto(global_, "ClsGlobal", "ApriLog");
    const std::string ditta = global->DittaCorrente();
    const std::string nome = nomeBase_ + "_" + ditta + "_" + "_" + TimestampLog(inizio);
    file_ = Richiesto(entry::Host().CreateFileAccess(), "FileAccess", "ApriLog");
    // Two runs starting in the same second would share the name: the later one takes the name with a
    // counter, so neither log overwrites the other.
    constexpr int kNomiProvati = 1000;
    for (int n = 1; !stream_; ++n) {
        fileLog_ = CartellaDeiLog(*global) + nome + (n == 1 ? std::string() : "_" + std::to_string(n)) + ".txt";
        try {
            stream_ = Richiesto(file_->CreaFileNuovo(fileLog_), "TextStream", "ApriLog");
        } catch (const db::Error& e) {
            if (e.Number() != kFileGiaEsistente || n == kNomiProvati) throw;
        }
    }

    if (auto servizio = LogServiceOfHost()) {
        servizio->Connection(connection_);
        servizio->Apri(db::Variant(db::Variant(ditta).CLng()), global->UtenteDescrizione(), Giorno(orologio_()),
                       db::Left(nome, 50));
        servizio_ = std::move(servizio);
    }

    ScriviLog(BannerLog, LogInformazione);
    ScriviLog("Inizio elaborazione : " + DataOraGenerale(orologio_()), LogInformazione);
    ScriviLog(BannerLog, LogInformazione);
}

void ProcessingLog::ScriviLog(const std::string& testo, long kind) {
    if (disabilitato_ || !stream_) return;
    if (db::Trim(testo).empty()) return;
    // A line that cannot be written is dropped and the run goes on; the file, the kept text and the
    // journal are independent, so one failing does not cost the others the line.
    if (auto error = Trap([&] { stream_->WriteLine(testo); })) Annota(*error);
    righe_.Add(testo);
    if (servizio_) {
        if (auto error = Trap([&] { servizio_->Riga(testo, kind, kind == LogEvidenziato); })) Annota(*error);
    }
}

void ProcessingLog::ChiudiLog() {
    ScriviLog(BannerLog, LogInformazione);
    std::string fine;
    if (auto error = Trap([&] { fine = "Termine elaborazione : " + DataOraGenerale(orologio_()); })) Annota(*error);
    if (!fine.empty()) ScriviLog(fine, LogInformazione);
    ScriviLog(BannerLog, LogInformazione);
    ChiudiFile();
    ChiudiServizio();
}

void ProcessingLog::ChiudiFile() {
    auto stream = std::exchange(stream_, nullptr);
    file_.reset();
    // Closing is the end of the log's life: an error here cannot be helped and must not reach the run.
    if (stream) {
        if (auto error = Trap([&] { stream->Close(); })) Annota(*error);
    }
}

void ProcessingLog::ChiudiServizio() {
    auto servizio = std::exchange(servizio_, nullptr);
    if (servizio) {
        if (auto error = Trap([&] { servizio->Chiudi(1); })) Annota(*error);
    }
}

}  // namespace generation
