#include "host/ClsBoConsana.h"

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/Catalog.h"
#include "erp/TableColumns.h"
#include "db/Transaction.h"

namespace host {
namespace {

constexpr const char* kSource = "ClsBoConsana";

// The article being deleted: company as a number, code as a quoted literal, both ready for a statement.
struct Articolo {
    std::string ditta;
    std::string codice;
};

void Exec(db::Connection& c, const std::string& sql) { c.Execute(sql, nullptr, db::adExecuteNoRecords); }


// The table's own identifier column (prefix + "_GUID"), or "" when it has none.
std::string IdentifierColumn(const std::string& table) {
    const std::string column = table.substr(0, table.find('_')) + "_GUID";
    if (const erp::TableDef* t = erp::FindTable(table))
        for (const auto& c : t->columns)
            if (c.name == column) return column;
    return {};
}

// Attributes and attachments hang on a row's identifier: they go with the rows `identifiers` selects.
void DeleteHungOn(db::Connection& c, const std::string& identifiers) {
    Exec(c, "DELETE FROM FA13_ATTRIBUTI WHERE FA13_GUID IN (" + identifiers + ")");
    Exec(c, "DELETE FROM AG01_ALLEGATI WHERE AG01_GUIDRIF IN (" + identifiers + ")");
}

std::string ArticleRows(const erp::ArticleTable& t, const Articolo& a) {
    return " FROM " + t.table + " WHERE " + t.companyColumn + " = " + a.ditta + " AND " + t.articleColumn + " = " +
           a.codice;
}

// The cycle coded as the article is its own unless the production data of another article use it.
void DeleteOwnCycle(db::Connection& c, const Articolo& a) {
    const db::Variant user = db::QueryValue(c, "SELECT TOP 1 PD18_CODART_MG66 FROM PD18_ARTPROD WITH (NOLOCK) WHERE "
                                           "PD18_DITTA_CG18 = " + a.ditta + " AND PD18_CODCICLO = " + a.codice +
                                           " AND PD18_CODART_MG66 <> " + a.codice);
    if (!user.IsEmpty()) return;
    DeleteHungOn(c, "SELECT PD52_GUID FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = " + a.ditta +
                        " AND PD52_CODICE = " + a.codice);
    Exec(c, "DELETE FROM PD53_CICLIFASI WHERE PD53_DITTA_CG18 = " + a.ditta + " AND PD53_CODICE_PD52 = " + a.codice);
    Exec(c, "DELETE FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = " + a.ditta + " AND PD52_CODICE = " + a.codice);
}

// The rows of the article's link headers, with what hangs on them (the headers go with the article tables).
void DeleteLinkRows(db::Connection& c, const Articolo& a) {
    const std::string headers = "SELECT FA63_GUID FROM FA63_AGGANCI WHERE FA63_DITTA_CG18 = " + a.ditta +
                                " AND FA63_CODART_MG66 = " + a.codice;
    DeleteHungOn(c, "SELECT FA64_GUID FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 IN (" + headers + ")");
    Exec(c, "DELETE FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 IN (" + headers + ")");
}

// Groupings created when the article was made (AG03_RAGGRCREATI), of the variants no other article groups
// under them. A grouping that existed already and was only reused is not the article's: it stays.
void DeleteOwnGroupings(db::Connection& c, const Articolo& a) {
    auto own = [&](const std::string& variantColumn, const std::string& groupingColumn) {
        return " AND EXISTS (SELECT 1 FROM AG03_RAGGRCREATI WHERE AG03_DITTA_CG18 = " + a.ditta +
               " AND AG03_CODART_MG66 = " + a.codice + " AND AG03_CODICEVAR_MG5F = " + variantColumn +
               " AND AG03_CODRAGGVAR_MG5G = " + groupingColumn + ")" +
               " AND NOT EXISTS (SELECT 1 FROM MG6B_GESVARART WHERE MG6B_DITTA_CG18 = " + a.ditta +
               " AND MG6B_CODICEVAR_MG5F = " + variantColumn + " AND MG6B_CODRAGGVAR_MG5G = " + groupingColumn +
               " AND MG6B_CODART_MG66 <> " + a.codice + ")";
    };
    Exec(c, "DELETE FROM MG5H_COMPRAGVAR WHERE MG5H_DITTA_CG18 = " + a.ditta +
                own("MG5H_CODICEVAR_MG5F", "MG5H_RAGGR_MG5G"));
    Exec(c, "DELETE FROM MG5G_RAGGVAR WHERE MG5G_DITTA_CG18 = " + a.ditta + own("MG5G_CODICEVAR_MG5F", "MG5G_CODRAGGVAR"));
}

void DeleteEverything(db::Connection& c, const Articolo& a) {
    const auto& tables = erp::ArticleTables();
    for (const auto& t : tables)
        if (const std::string id = IdentifierColumn(t.table); !id.empty())
            DeleteHungOn(c, "SELECT " + id + ArticleRows(t, a));
    DeleteOwnCycle(c, a);
    DeleteLinkRows(c, a);
    Exec(c, "DELETE FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 IN (SELECT PD95_IDDISBA FROM PD95_DISBA WHERE "
            "PD95_DITTA_CG18 = " + a.ditta + " AND PD95_CODART_MG66 = " + a.codice + ")");
    DeleteOwnGroupings(c, a);
    // Satellites first, the article master (first in the list) last.
    for (auto t = tables.rbegin(); t != tables.rend(); ++t) Exec(c, "DELETE" + ArticleRows(*t, a));
}

}  // namespace

db::Connection& ClsBoConsana::RequireConnection() const {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", kSource);
    return *connection_;
}

std::string ClsBoConsana::Company() const {
    if (!program_ || !program_->ClsGlobal())
        throw db::Error(db::errc::ObjectRequired, "Programma o oggetto globale non impostati", kSource);
    return db::SqlNumber(db::Variant(program_->ClsGlobal()->DittaCorrente()));
}

long ClsBoConsana::EliminaArticolo(const std::string& articolo, std::string& errorText) {
    errorText.clear();
    auto& c = RequireConnection();
    const Articolo a{Company(), db::SqlText(articolo)};

    if (db::QueryValue(c, "SELECT MG66_CODART FROM MG66_ANAGRART WITH (NOLOCK) WHERE MG66_DITTA_CG18 = " + a.ditta +
                          " AND MG66_CODART = " + a.codice)
            .IsEmpty()) {
        errorText = "Impossibile eliminare l'articolo " + articolo + ": articolo inesistente.";
        return kBoArticoloInesistente;
    }
    const db::Variant bill = db::QueryValue(
        c, "SELECT TOP 1 PD95_CODART_MG66 FROM PD96_LEGAMIDISBA WITH (NOLOCK) INNER JOIN PD95_DISBA WITH (NOLOCK) "
           "ON PD95_IDDISBA = PD96_IDDISBA_PD95 WHERE PD96_DITTA_CG18 = " + a.ditta + " AND PD96_COMPON = " +
               a.codice + " AND PD95_CODART_MG66 <> " + a.codice + " ORDER BY PD95_CODART_MG66");
    if (!bill.IsEmpty()) {
        errorText = "Impossibile eliminare l'articolo " + articolo +
                    ": è un componente della distinta base dell'articolo " + db::RTrim(bill.Text()) + ".";
        return kBoArticoloComponente;
    }

    db::Transaction unit(c);
    DeleteEverything(c, a);
    unit.Commit();
    return 0;
}

std::string ClsBoConsana::FormattaValore(const db::Variant& value, bool senzaSpazi, bool vuotoSeAssente) {
    std::string text = value.IsNull() || value.IsEmpty() || value.IsMissing() ? std::string() : value.CStr();
    if (senzaSpazi) text = db::Trim(text);
    if (text.empty()) return vuotoSeAssente ? std::string() : "''";
    return db::SqlNationalText(text);
}

}  // namespace host
