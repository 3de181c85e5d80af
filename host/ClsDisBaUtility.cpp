#include "host/ClsDisBaUtility.h"

#include <cmath>

#include <fmt/format.h>

#include "db/Quote.h"
#include "db/Recordset.h"
#include "db/Transaction.h"

namespace host {
namespace {

constexpr const char* kSource = "ClsDisBaUtility";
constexpr long kSostituzione = 1;
constexpr long kAggiornamentoQuantita = 2;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

std::string NessunaRiga(const std::string& component, const std::string& filter) {
    return "Nessuna riga di distinta base con il componente " + component + " corrisponde al filtro: " + filter;
}

}  // namespace

db::Connection& ClsDisBaUtility::RequireConnection() const {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", kSource);
    return *connection_;
}

std::vector<ClsDisBaUtility::Riga> ClsDisBaUtility::RigheSelezionate(const std::string& company,
                                                                     const std::string& component) {
    auto rs = RequireConnection().Execute(
        "SELECT PD96_LEGAMIDISBA.*, PD95_DISBA.* FROM PD96_LEGAMIDISBA WITH (NOLOCK) INNER JOIN PD95_DISBA WITH "
        "(NOLOCK) ON PD95_IDDISBA = PD96_IDDISBA_PD95 WHERE PD96_DITTA_CG18 = " + company +
        " AND PD95_DITTA_CG18 = " + company + " AND PD96_COMPON = " + db::SqlText(component) +
        " ORDER BY PD96_IDDISBA_PD95, PD96_SEQCOMP");
    rs->Filter(db::Variant(filtro_));
    std::vector<Riga> lines;
    if (rs->RecordCount() == 0) return lines;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        lines.push_back({db::SqlNumber((*rs)["PD96_IDDISBA_PD95"].Value()), db::SqlNumber((*rs)["PD96_SEQCOMP"].Value())});
    return lines;
}

bool ClsDisBaUtility::ArticoloEsiste(const std::string& company, const std::string& code) {
    auto rs = RequireConnection().Execute("SELECT MG66_CODART FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = " +
                                          company + " AND MG66_CODART = " + db::SqlText(code));
    return rs->RecordCount() > 0;
}

bool ClsDisBaUtility::Concludi(const std::vector<std::string>& anomalies, const std::vector<Riga>& lines,
                               const std::string& assignment) {
    if (!anomalies.empty()) {
        anomalie_ = Joined(anomalies);
        return true;
    }
    auto& c = RequireConnection();
    db::Transaction unit(c);
    for (const auto& line : lines)
        c.Execute("UPDATE PD96_LEGAMIDISBA SET " + assignment + " WHERE PD96_IDDISBA_PD95 = " + line.distinta +
                      " AND PD96_SEQCOMP = " + line.sequenza,
                  nullptr, db::adExecuteNoRecords);
    unit.Commit();
    return false;
}

bool ClsDisBaUtility::EseguiSostituzione(const db::Variant& ditta) {
    anomalie_.clear();
    const std::string company = db::SqlNumber(ditta);
    const std::string from = db::Trim(daSostituire_);
    const std::string to = db::Trim(sostitutivo_);
    std::vector<std::string> anomalies;
    if (modalita_ != kSostituzione)
        anomalies.push_back("Modalità di elaborazione " + std::to_string(modalita_) +
                            " non valida per la sostituzione dei componenti.");
    if (db::Trim(filtro_).empty()) anomalies.push_back("Filtro delle righe di distinta base non indicato.");
    if (from.empty()) anomalies.push_back("Componente da sostituire non indicato.");
    if (to.empty())
        anomalies.push_back("Componente sostitutivo non indicato.");
    else if (!ArticoloEsiste(company, to))
        anomalies.push_back("Il componente sostitutivo " + to + " non esiste in anagrafica articoli.");

    std::vector<Riga> lines;
    if (anomalies.empty()) {
        lines = RigheSelezionate(company, from);
        if (lines.empty()) anomalies.push_back(NessunaRiga(from, filtro_));
    }
    return Concludi(anomalies, lines, "PD96_COMPON = " + db::SqlText(to));
}

bool ClsDisBaUtility::EseguiAggiornamentoQuantita(const db::Variant& ditta) {
    anomalie_.clear();
    const std::string company = db::SqlNumber(ditta);
    const std::string component = db::Trim(sostitutivo_);
    std::vector<std::string> anomalies;
    if (modalita_ != kAggiornamentoQuantita)
        anomalies.push_back("Modalità di elaborazione " + std::to_string(modalita_) +
                            " non valida per l'aggiornamento delle quantità.");
    if (db::Trim(filtro_).empty()) anomalies.push_back("Filtro delle righe di distinta base non indicato.");
    if (component.empty()) anomalies.push_back("Componente sostitutivo non indicato.");
    if (!std::isfinite(quantita_) || quantita_ < 0)
        anomalies.push_back("Quantità non valida: " + fmt::format("{}", quantita_));

    std::vector<Riga> lines;
    if (anomalies.empty()) {
        lines = RigheSelezionate(company, component);
        if (lines.empty()) anomalies.push_back(NessunaRiga(component, filtro_));
    }
    const std::string quantity = anomalies.empty() ? db::SqlNumber(db::Variant(quantita_)) : "0";
    return Concludi(anomalies, lines, "PD96_QTA1 = " + quantity);
}

}  // namespace host
