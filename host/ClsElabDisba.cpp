#include "host/ClsElabDisba.h"

#include <algorithm>
#include <cctype>

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/JoinText.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "host/CopyRows.h"

namespace host {
namespace {

constexpr const char* kSource = "ClsElabDisba";

// Runs `work` inside a transaction level of its own (a savepoint within the caller's transaction): on an
// error everything it wrote is undone and the error goes on to the caller.
template <class F>
void AsOneUnit(db::Connection& c, F&& work) {
    c.BeginTrans();
    try {
        work();
        c.CommitTrans();
    } catch (...) {
        try {
            c.RollbackTrans();
        } catch (...) {
            // The error that broke the unit is the one to report; a failed rollback leaves the caller's
            // transaction to be rolled back as a whole.
        }
        throw;
    }
}

// "PD95_DITTA_CG18 = <company> AND ...": the header that the key names, the bill's values as markers; the
// same text for every article, prepared once.
std::string HeaderKey(const std::string& company) {
    return db::JoinText({"PD95_DITTA_CG18 = ", company,
                         " AND PD95_CODART_MG66 = ? AND PD95_OPZIONE = ? AND PD95_TIPO_DISTINTA = ? AND PD95_CODICE_DB = ?"});
}

// The values of HeaderKey's markers, in order.
std::vector<db::Variant> HeaderValues(const entry::DistintaBase& bill) {
    return {db::Variant(bill.articolo), db::Variant(bill.opzione), db::Variant(bill.tipo), db::Variant(bill.codice)};
}

// The identifier of the source's bill (Empty when there is none) and whether the destination's key is taken,
// read together: the copy needs both before it writes.
struct Headers {
    db::Variant source;
    bool destinationTaken = false;
};

Headers ReadHeaders(db::Connection& c, const std::string& company, const entry::DistintaBase& source,
                    const entry::DistintaBase& destination) {
    std::vector<db::BoundValue> values;
    for (const auto* bill : {&destination, &source})
        for (db::Variant& v : HeaderValues(*bill)) values.push_back({{}, std::move(v)});
    auto rs = c.ExecuteWith("SELECT PD95_IDDISBA, CASE WHEN EXISTS (SELECT 1 FROM PD95_DISBA WHERE " +
                                HeaderKey(company) + ") THEN 1 ELSE 0 END AS TAKEN FROM PD95_DISBA WHERE " +
                                HeaderKey(company),
                            values, nullptr, db::kCommonSqlText);
    Headers h;
    if (rs->RecordCount() < 1) return h;
    rs->MoveFirst();
    h.source = (*rs)[0L].Value();
    h.destinationTaken = (*rs)[1L].Value().CLng() != 0;
    return h;
}

bool IsWholeNumber(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char ch) { return std::isdigit(ch) != 0; });
}

}  // namespace

std::vector<std::string> IdentificativiDistinte(const std::string& elenco) {
    std::string list = db::Trim(elenco);
    if (list.size() >= 2 && list.front() == '(' && list.back() == ')') list = db::Trim(list.substr(1, list.size() - 2));
    std::vector<std::string> ids;
    if (list.empty()) return ids;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string item =
            db::Trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!IsWholeNumber(item))
            throw db::Error(db::errc::TypeMismatch, "Identificativo di distinta base non valido: '" + item + "'",
                            kSource);
        ids.push_back(item);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return ids;
}

db::Connection& ClsElabDisba::RequireConnection() const {
    if (!settings_.connessione) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", kSource);
    return *settings_.connessione;
}

void ClsElabDisba::Elabora(const db::Variant& ditta) {
    auto& c = RequireConnection();
    const std::string company = db::SqlNumber(ditta);
    const auto& from = settings_.origine;
    const auto& to = settings_.destinazione;
    // A blank option of the destination keeps the source's: the new header's key is the one written.
    entry::DistintaBase created = to;
    if (db::Trim(created.opzione).empty()) created.opzione = from.opzione;

    const Headers headers = ReadHeaders(c, company, from, created);
    const db::Variant& source = headers.source;
    if (source.IsEmpty()) return;  // an article without a bill: nothing to copy
    if (headers.destinationTaken)
        throw db::Error(db::errc::InvalidArgument, "La distinta base dell'articolo " + to.articolo + " esiste già",
                        kSource);

    AsOneUnit(c, [&] {
        std::vector<ColumnValue> header{{"PD95_CODART_MG66", "?", {db::Variant(to.articolo)}},
                                        {"PD95_TIPO_DISTINTA", "?", {db::Variant(to.tipo)}},
                                        {"PD95_CODICE_DB", "?", {db::Variant(to.codice)}},
                                        {"PD95_UTENTE", "?", {db::Variant(settings_.utente)}}};
        if (!db::Trim(to.opzione).empty()) header.push_back({"PD95_OPZIONE", "?", {db::Variant(to.opzione)}});
        const long written =
            CopyRows(c, "PD95_DISBA", header, {"PD95_IDDISBA", "PD95_DTINS"}, "PD95_IDDISBA = ?", true, {source});
        if (written != 1)
            throw db::Error(db::errc::ProviderError, "Distinta base dell'articolo " + to.articolo + " non creata",
                            kSource);
        // The database numbered the new header: the lines find it by its key, which works on any database and
        // keeps the number out of the statement's text (every bill would otherwise send a text of its own).
        const std::string createdId = "(SELECT PD95_IDDISBA FROM PD95_DISBA WHERE " + HeaderKey(company) + ")";
        CopyRows(c, "PD96_LEGAMIDISBA", {{"PD96_IDDISBA_PD95", createdId, HeaderValues(created)}}, {},
                 "PD96_IDDISBA_PD95 = ?", true, {source});
    });
}

void ClsElabDisba::EliminaDistinte(const std::string& elenco) {
    const std::vector<std::string> ids = IdentificativiDistinte(elenco);
    if (ids.empty()) return;
    auto& c = RequireConnection();
    std::string list;
    for (const auto& id : ids) list += (list.empty() ? "" : ", ") + id;
    AsOneUnit(c, [&] {
        c.Execute("DELETE FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 IN (" + list + ")", nullptr,
                  db::adExecuteNoRecords);
        c.Execute("DELETE FROM PD95_DISBA WHERE PD95_IDDISBA IN (" + list + ")", nullptr, db::adExecuteNoRecords);
    });
}

}  // namespace host
