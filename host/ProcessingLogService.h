#pragma once
// The shell's journal of processing runs, kept in the company database: one CG9L_LOGELAB row per run
// (open with status 0, closed with the status the caller gives) and one CG9M_LOGELABRIG row per line.
//
// The journal shares the caller's connection, and runs open and roll back transactions on it between
// their lines; a line written inside such a transaction would vanish with the rollback - precisely the
// lines that say why an article was not created. So while a transaction is open the lines wait in
// memory, numbered in order, and are written as soon as a call finds the connection outside any
// transaction. Outside a transaction they are also gathered, and written kLinesPerWrite at a time in
// one transaction of their own: a run of thousands of articles commits a few lines per article
// otherwise. Closing writes whatever is still waiting.
#include <deque>
#include <optional>
#include <string>

#include "entry/HostInterfaces.h"
#include "generation/LogClock.h"

namespace host {

class ProcessingLogService : public entry::IProcessingLogService {
public:
    static constexpr std::size_t kLinesPerWrite = 64;
    static constexpr std::size_t kRowsPerInsert = 16;

    explicit ProcessingLogService(generation::Clock orologio = generation::SystemClock());

    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }
    void Apri(const db::Variant& ditta, const std::string& utente, const db::Date& data,
              const std::string& titolo) override;
    void Riga(const std::string& testo, long kind, bool evidenziata) override;
    void Chiudi(long stato) override;

    // The run's CG9L_IDELAB once its row is written.
    std::optional<long> IdElaborazione() const { return idElab_; }
    std::size_t RigheInAttesa() const { return pending_.size(); }

private:
    struct Line {
        long riga;
        std::string testo;
        long kind;
        bool evidenziata;
    };
    struct Run {
        long ditta;
        std::string utente;
        db::Date data;
        std::string titolo;
        db::Date inizio;
    };

    db::Connection& Conn() const;
    // Writes what waits; unless `forza`, only when the connection is outside any transaction.
    void Scrivi(bool forza);
    void WriteLines(db::Connection& c);

    generation::Clock orologio_;
    db::ConnectionPtr connection_;
    std::optional<Run> run_;
    std::optional<long> idElab_;
    std::deque<Line> pending_;
    long nextRiga_ = 1;
    std::optional<long> statoFinale_;
};

}  // namespace host
