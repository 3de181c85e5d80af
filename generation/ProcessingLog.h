#pragma once
// The processing log of a generation or mass-duplication run: one text file per run, named after the
// company and the moment the run started, in the log folder of the company; every line is also kept in
// memory (the browser front end saves it from there) and handed to the host's processing-log service.
//
// Logging never stops a run: when the log cannot be opened it is switched off for that run and the run
// goes on without a word; a line that cannot be written is dropped.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Error.h"
#include "entry/HostInterfaces.h"
#include "generation/KeptLines.h"
#include "generation/LogClock.h"

namespace generation {

// Kind of a log line.
enum LogKind : long { LogInformazione = 2, LogErrore = 3, LogEvidenziato = 4 };

inline constexpr const char* NomeBaseLog = "Generazione_Agganci_Aperture";
// 96 asterisks and a blank.
inline const std::string BannerLog = std::string(96, '*') + " ";

class ProcessingLog {
public:
    // `global` supplies the company and the log folder; `connection` is handed to the log service.
    ProcessingLog(std::shared_ptr<entry::IClsGlobal> global, db::ConnectionPtr connection,
                  Clock orologio = SystemClock());
    ~ProcessingLog();
    ProcessingLog(const ProcessingLog&) = delete;
    ProcessingLog& operator=(const ProcessingLog&) = delete;

    void ApriLog();
    // One line; a text of blanks only is never written.
    void ScriviLog(const std::string& testo, long kind);
    void ChiudiLog();

    const std::string& NomeBase() const { return nomeBase_; }
    const std::string& FileLog() const { return fileLog_; }  // file of the last run
    // Every line of the last run, each followed by a carriage return.
    std::string TestoAccumulato() const;
    std::vector<std::string> RigheAccumulate() const { return righe_.Lines(); }
    bool LogDisabilitato() const { return disabilitato_; }
    // What went wrong last while opening, writing or closing (kept for diagnosis only).
    const std::optional<db::Error>& UltimoErrore() const { return ultimoErrore_; }

private:
    void Apri();
    void ChiudiFile();
    void ChiudiServizio();
    void Annota(const db::Error& e) { ultimoErrore_ = e; }

    std::shared_ptr<entry::IClsGlobal> global_;
    db::ConnectionPtr connection_;
    Clock orologio_;

    std::string nomeBase_;
    std::string fileLog_;
    KeptLines righe_;
    bool disabilitato_ = false;
    std::shared_ptr<entry::IFileAccess> file_;
    std::shared_ptr<entry::ITextStream> stream_;
    std::shared_ptr<entry::IProcessingLogService> servizio_;
    std::optional<db::Error> ultimoErrore_;
};

// The folder the log files go to: the company's log folder, or the system's temporary folder when the
// company has none. Ends with a separator.
std::string CartellaDeiLog(const entry::IClsGlobal& global);

}  // namespace generation
