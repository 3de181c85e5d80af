#include "host/ProcessingLogService.h"

#include <utility>
#include <vector>

#include "db/CommonSql.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"

namespace host {
namespace {

constexpr const char* kSource = "ProcessingLogService";
constexpr std::size_t kMaxTitolo = 50;  // CG9L_TITOLO

}  // namespace

ProcessingLogService::ProcessingLogService(generation::Clock orologio) : orologio_(std::move(orologio)) {}

db::Connection& ProcessingLogService::Conn() const {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", kSource);
    return *connection_;
}

void ProcessingLogService::Apri(const db::Variant& ditta, const std::string& utente, const db::Date& data,
                                const std::string& titolo) {
    Conn();
    // A new run: whatever an earlier run left is its own business.
    run_ = Run{ditta.CLng(), utente, data, db::Left(titolo, kMaxTitolo), orologio_()};
    idElab_.reset();
    pending_.clear();
    nextRiga_ = 1;
    statoFinale_.reset();
    Scrivi(false);
}

void ProcessingLogService::Riga(const std::string& testo, long kind, bool evidenziata) {
    if (!run_ || statoFinale_)
        throw db::Error(db::errc::OperationNotAllowed, "Nessuna elaborazione aperta nel log", kSource);
    pending_.push_back({nextRiga_++, testo, kind, evidenziata});
    if (pending_.size() >= kLinesPerWrite) Scrivi(false);
}

void ProcessingLogService::Chiudi(long stato) {
    if (!run_ || statoFinale_)
        throw db::Error(db::errc::OperationNotAllowed, "Nessuna elaborazione aperta nel log", kSource);
    statoFinale_ = stato;
    // The run is over: lines still waiting are written now, inside a transaction if one is still open,
    // rather than lost.
    Scrivi(true);
}

void ProcessingLogService::Scrivi(bool forza) {
    db::Connection& c = Conn();
    if (!run_ || (!forza && c.TransactionLevel() > 0)) return;

    if (!idElab_) {
        auto rs = c.ExecuteWith(
            "INSERT INTO CG9L_LOGELAB (CG9L_DITTA_CG18, CG9L_DATA, CG9L_TITOLO, CG9L_UTENTE, CG9L_STATO, "
            "CG9L_DTINIZIO) VALUES (?, ?, ?, ?, 0, ?);\r\nSELECT SCOPE_IDENTITY() AS CG9L_IDELAB",
            {{{}, db::Variant(run_->ditta)},
             {{}, db::Variant(run_->data)},
             {{}, db::Variant(run_->titolo)},
             {{}, db::Variant(run_->utente)},
             {{}, db::Variant(run_->inizio)}});
        rs->MoveFirst();
        idElab_ = (*rs)["CG9L_IDELAB"].Value().CLng();
    }

    // The lines of one write commit together; a failure leaves them all waiting, to be tried again.
    const bool own = c.TransactionLevel() == 0 && pending_.size() > 1;
    if (own) c.BeginTrans();
    try {
        WriteLines(c);
    } catch (...) {
        if (own) c.RollbackTrans();
        throw;
    }
    if (own) c.CommitTrans();
    pending_.clear();

    if (statoFinale_) {
        c.ExecuteWith("UPDATE CG9L_LOGELAB SET CG9L_STATO = ?, CG9L_DTFINE = ? WHERE CG9L_IDELAB = ?",
                      {{{}, db::Variant(*statoFinale_)}, {{}, db::Variant(orologio_())}, {{}, db::Variant(*idElab_)}},
                      nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        run_.reset();
    }
}

void ProcessingLogService::WriteLines(db::Connection& c) {
    // Several lines per statement: a long run writes a few lines per article. SQL Server gives a column of
    // a VALUES list the type of its widest kind of value, so a line too long for the narrowest text type
    // (4000 characters) goes in a statement of its own: next to a shorter one it could be cut to that size.
    constexpr std::size_t kShortLine = 4000;
    std::size_t first = 0;
    while (first < pending_.size()) {
        std::size_t end = first + 1;
        if (pending_[first].testo.size() <= kShortLine)
            while (end < pending_.size() && end - first < kRowsPerInsert && pending_[end].testo.size() <= kShortLine)
                ++end;
        std::string sql = "INSERT INTO CG9M_LOGELABRIG (CG9M_DITTA_CG18, CG9M_IDELAB_CG9L, CG9M_RIGA, CG9M_TIPO, "
                          "CG9M_FLGEVIDENZA, CG9M_TESTO) VALUES ";
        std::vector<db::BoundValue> values;
        values.reserve((end - first) * 6);
        for (std::size_t i = first; i < end; ++i) {
            const Line& line = pending_[i];
            sql += i == first ? "(?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?)";
            for (db::Variant v : {db::Variant(run_->ditta), db::Variant(*idElab_), db::Variant(line.riga),
                                  db::Variant(line.kind), db::Variant(line.evidenziata ? 1 : 0), db::Variant(line.testo)})
                values.push_back({{}, std::move(v)});
        }
        c.ExecuteWith(sql, values, nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        first = end;
    }
}

}  // namespace host
