#include "erp/SpmgDuplicaArt.h"

#include <map>
#include <string_view>
#include <vector>

#include "db/CommonSql.h"
#include "db/InsertSelectText.h"
#include "db/JoinText.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/TableColumns.h"

namespace erp {
namespace {

// Every statement here is plain names, numbers and quoted texts: SQLite runs it untranslated (CommonSql.h).

// A satellite group: its flag, its table and, for tables shared by two groups, the rows that are its own.
struct Group {
    const char* flag;
    const char* table;
    const char* where;
};

constexpr Group kGroups[] = {
    {"@NODUP_MG68_CONFART", "MG68_CONFART", ""},
    {"@NODUP_MG67_SCORTE", "MG67_SCORTE", ""},
    {"@NODUP_MG84_ARTALTER", "MG84_ARTALTER", ""},
    {"@NODUP_MG85_ARTSOST", "MG85_ARTSOST", ""},
    {"@NODUP_MG86_ARTCONC", "MG86_ARTCONC", ""},
    {"@NODUP_MG92_ARTPACKL", "MG92_ARTPACKL", ""},
    {"@NODUP_MG7A_UBICAZARTFIX", "MG7A_UBICAZARTFIX", ""},
    {"@NODUP_MG69_UBICAZART", "MG69_UBICAZART", ""},
    {"@NODUP_MG65_BARCODE", "MG65_BARCODE", ""},
    {"@NODUP_MG6C_ANAGRARTAGE", "MG6C_ANAGRARTAGE", ""},
    {"@NODUP_LI10_LISTARTICVEN", "LI10_LISTARTIC", " AND LI10_FLGVENACQ = 0"},
    {"@NODUP_LI10_LISTARTICACQ", "LI10_LISTARTIC", " AND LI10_FLGVENACQ = 1"},
    {"@NODUP_LI11_ULTPRACQVEN", "LI11_ULTPRACQVEN", ""},
    {"@NODUP_MG72_APPLICART", "MG72_APPLICART", ""},
    {"@NODUP_MG43_ARTPERS", "MG43_ARTPERS", ""},
    {"@NODUP_MG6D_FLGTABARTVAR", "MG6D_FLGTABARTVAR", ""},
    {"@NODUP_MG98_MAGINTRA", "MG98_MAGINTRA", ""},
    {"@NODUP_MG6M_PARAMARTLOTTI", "MG6M_PARAMARTLOTTI", ""},
    {"@NODUP_MG4N_ARTTRALIM", "MG4N_ARTTRALIM", ""},
    {"@NODUP_SC06_ARTSCORTE", "SC06_ARTSCORTE", ""},
    {"@NODUP_PK07_ARTIMB", "PK07_ARTIMB", ""},
    {"@NODUP_PD18_ARTPROD", "PD18_ARTPROD", ""},
};

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Identifiers and change stamps belong to the row, not to its content: the copy takes new ones.
bool LeftToDefault(const ColumnDef& c) {
    return (EndsWith(c.name, "_GUID") && c.hasDefault) || EndsWith(c.name, "_LASTCHANGE") ||
           c.name == "MG66_DTINS";
}

struct CopyRequest {
    std::string table;
    std::string company;        // numeric text
    std::string source;         // article code, raw
    std::string target;         // article code, raw
    std::string where;          // extra condition
    std::map<std::string, std::string> values;  // column -> SQL expression written instead of the source's
};

std::string Prefix(const std::string& table) { return table.substr(0, table.find('_')); }

std::string ArticleColumn(const std::string& table) {
    return table == "MG66_ANAGRART" ? "MG66_CODART" : db::JoinText({Prefix(table), "_CODART_MG66"});
}

// "T_DITTA_CG18 = <company> AND <article column> = '<code>'<extra>": the rows of the request's source.
std::string SourceCondition(const CopyRequest& r) {
    return db::JoinText({Prefix(r.table), "_DITTA_CG18 = ", r.company, " AND ", ArticleColumn(r.table), " = ",
                         db::SqlText(r.source), r.where});
}

long CopyRows(db::Connection& c, const CopyRequest& r) {
    const TableDef* t = FindTable(r.table);
    if (!t) throw db::Error(208, "Invalid object name '" + r.table + "'.", "SPMG_DUPLICAART");
    const std::string articleColumn = ArticleColumn(r.table);
    const std::string target = db::SqlText(r.target);
    db::InsertSelectText text(t->columns.size());
    for (const auto& col : t->columns) {
        if (LeftToDefault(col)) continue;
        std::string_view value = col.name;
        if (col.name == articleColumn) value = target;
        if (auto it = r.values.find(col.name); it != r.values.end()) value = it->second;
        text.Add(col.name, value);
    }
    long affected = 0;
    c.Execute(text.Statement(r.table, db::JoinText({"FROM ", r.table, " WHERE ", SourceCondition(r)})), &affected,
              db::kCommonSqlText | db::adExecuteNoRecords);
    return affected;
}

// Whether each table has a row meeting its condition, asked in one statement.
struct Probe {
    std::string table;
    std::string condition;
};

std::vector<bool> AnyRows(db::Connection& c, const std::vector<Probe>& probes) {
    std::vector<bool> found(probes.size(), false);
    if (probes.empty()) return found;
    std::string sql;
    sql.reserve(probes.size() * 128);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        sql.append(i == 0 ? "SELECT " : ", ").append("CASE WHEN EXISTS (SELECT 1 FROM ").append(probes[i].table);
        sql.append(" WHERE ").append(probes[i].condition).append(") THEN 1 ELSE 0 END AS G").append(std::to_string(i));
    }
    auto rs = c.Execute(sql, nullptr, db::kCommonSqlText);
    if (rs->RecordCount() < 1) throw db::Error(50000, "Righe dell'articolo di origine non lette", "SPMG_DUPLICAART");
    rs->MoveFirst();
    for (std::size_t i = 0; i < probes.size(); ++i)
        found[i] = rs->GetFields().Item(static_cast<long>(i)).Value().CLng() != 0;
    return found;
}

// The rows of an article of the company with this code.
Probe Article(const std::string& company, const std::string& code) {
    return {"MG66_ANAGRART", "MG66_DITTA_CG18 = " + company + " AND MG66_CODART = " + db::SqlText(code)};
}

db::Error ProcedureError(const std::string& text) { return db::Error(50000, text, "SPMG_DUPLICAART"); }

}  // namespace

void SpmgDuplicaArt(db::Connection& c, db::Parameters& p) {
    const std::string company = db::SqlNumber(p["@DITTA"].Value());
    const std::string source = db::RTrim(p["@ARTICOLO_ORIG"].Value().Text());
    const std::string target = db::RTrim(p["@ARTICOLO_NEW"].Value().Text());
    if (target.empty()) throw ProcedureError("Codice del nuovo articolo non indicato");
    // SQL Server refuses a text wider than its column; SQLite would keep it, so the width is checked here,
    // before the first row: the copies that follow write the code in one statement each.
    const long width = c.Execute("SELECT MG66_CODART FROM MG66_ANAGRART WHERE 0 = 1", nullptr, db::kCommonSqlText)
                           ->GetFields()[0L]
                           .DefinedSize();
    if (width > 0 && db::Len(target) > static_cast<std::size_t>(width))
        throw ProcedureError("Codice del nuovo articolo più lungo di " + std::to_string(width) + " caratteri");

    std::vector<CopyRequest> requests;
    // The standard descriptions (language blank), in one statement: the base article's row (option blank)
    // takes the new descriptions, the options' rows keep theirs.
    if (p["@NODUP_MG87_ARTDESC"].Value().CLng() == 0) {
        const db::Variant& d = p["@DESCRIZIONE_NEW"].Value();
        const db::Variant& e = p["@DESCRIZIONEEST_NEW"].Value();
        const auto forBaseRow = [](const std::string& value, const char* column) {
            return "CASE WHEN MG87_OPZIONE_MG5E = ' ' THEN " + value + " ELSE " + column + " END";
        };
        requests.push_back(
            {"MG87_ARTDESC", company, source, target, " AND MG87_LINGUA_MG52 = ' '",
             {{"MG87_DESCART", forBaseRow(d.IsNull() || d.IsEmpty() ? "''" : db::SqlText(d.Text()), "MG87_DESCART")},
              {"MG87_DESCARTEST",
               forBaseRow(e.IsNull() || e.IsEmpty() ? "NULL" : db::SqlText(e.Text()), "MG87_DESCARTEST")}}});
    }
    for (const auto& g : kGroups)
        if (p[g.flag].Value().CLng() == 0) requests.push_back({g.table, company, source, target, g.where, {}});

    // One statement answers whether both codes are articles and which groups have source rows: a copy of no
    // rows writes nothing, so the groups without any need not be sent, and most groups of an article are
    // empty. The master row written first does not change the answers: they are about the source's rows.
    std::vector<Probe> probes{Article(company, source), Article(company, target)};
    for (const CopyRequest& r : requests) probes.push_back({r.table, SourceCondition(r)});
    const std::vector<bool> found = AnyRows(c, probes);
    if (!found[0]) throw ProcedureError("Articolo di origine '" + source + "' inesistente");
    if (found[1]) throw ProcedureError("Articolo '" + target + "' già esistente");

    CopyRequest master{"MG66_ANAGRART", company, source, target, "", {}};
    CopyRows(c, master);
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (found[i + 2]) CopyRows(c, requests[i]);

    p["@STATO"].Value(db::Variant(db::Decimal::FromInt(0)));
}

}  // namespace erp
