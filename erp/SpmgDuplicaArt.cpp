#include "erp/SpmgDuplicaArt.h"

#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/InsertSelectText.h"
#include "db/JoinText.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/TableColumns.h"

namespace erp {
namespace {

// The statements here run where the registered procedures run, never on SQL Server, which runs the procedure's
// script: plain names, numbers, quoted texts and '?' markers, run untranslated on SQLite (CommonSql.h). The
// article's codes and descriptions go in as the markers' values, so that a statement's text depends on the
// company, the tables and the groups only: made once, it is the same prepared statement for every article.

// A statement and, per marker in order, which of the article's values it takes: 'S' the source code, 'N' the
// new code, 'D' the description, 'E' the extended description.
struct Statement {
    std::string sql;
    std::string markers;
};

// The article's values, in the order a statement's markers ask for them.
struct ArticleValues {
    db::Variant source, target, description, extended;

    std::vector<db::BoundValue> For(const Statement& s) const {
        std::vector<db::BoundValue> values;
        values.reserve(s.markers.size());
        for (char m : s.markers)
            values.push_back({{}, m == 'S' ? source : m == 'N' ? target : m == 'D' ? description : extended});
        return values;
    }
};

// A statement made on its first use on this thread and kept under `key`, which names all it is made of.
template <typename Make>
const Statement& Kept(const std::string& key, Make make) {
    thread_local std::unordered_map<std::string, Statement> kept;
    auto it = kept.find(key);
    if (it == kept.end()) it = kept.emplace(key, make()).first;
    return it->second;
}

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
    std::string where;  // extra condition
    // column -> SQL expression written instead of the source's, and the value its marker takes (0: none)
    std::map<std::string, std::pair<std::string, char>> values;
};

std::string Prefix(const std::string& table) { return table.substr(0, table.find('_')); }

std::string ArticleColumn(const std::string& table) {
    return table == "MG66_ANAGRART" ? "MG66_CODART" : db::JoinText({Prefix(table), "_CODART_MG66"});
}

// "T_DITTA_CG18 = <company> AND <article column> = ?<extra>": the rows of one code in the request's table.
std::string CodeCondition(const CopyRequest& r, const std::string& company) {
    return db::JoinText({Prefix(r.table), "_DITTA_CG18 = ", company, " AND ", ArticleColumn(r.table), " = ?", r.where});
}

long CopyRows(db::Connection& c, const CopyRequest& r, const std::string& company, const ArticleValues& article) {
    std::string key = db::JoinText({"copy ", company, " ", r.table, r.where});
    for (const auto& [column, value] : r.values) key.append(" ").append(column);
    const Statement& statement = Kept(key, [&] {
        const TableDef* t = FindTable(r.table);
        if (!t) throw db::Error(208, "Invalid object name '" + r.table + "'.", "SPMG_DUPLICAART");
        const std::string articleColumn = ArticleColumn(r.table);
        Statement made;
        db::InsertSelectText text(t->columns.size());
        for (const auto& col : t->columns) {
            if (LeftToDefault(col)) continue;
            std::string_view value = col.name;
            char marker = 0;
            if (col.name == articleColumn) {
                value = "?";
                marker = 'N';
            }
            if (auto it = r.values.find(col.name); it != r.values.end()) {
                value = it->second.first;
                marker = it->second.second;
            }
            if (marker) made.markers += marker;
            text.Add(col.name, value);
        }
        made.sql = text.Statement(r.table, db::JoinText({"FROM ", r.table, " WHERE ", CodeCondition(r, company)}));
        made.markers += 'S';
        return made;
    });
    long affected = 0;
    c.ExecuteWith(statement.sql, article.For(statement), &affected, db::kCommonSqlText | db::adExecuteNoRecords);
    return affected;
}

// Whether each table has a row of its code (one marker each) meeting its condition, asked in one statement.
struct Probe {
    std::string table;
    std::string condition;
    char code;  // the value of the condition's marker
};

// `key` names the probes: the same key, the same tables and conditions. `count` probes, which `make` gives when
// the statement is made.
template <typename MakeProbes>
std::vector<bool> AnyRows(db::Connection& c, const std::string& key, std::size_t count, MakeProbes make,
                          const ArticleValues& article) {
    std::vector<bool> found(count, false);
    if (count == 0) return found;
    const Statement& statement = Kept("probe " + key, [&] {
        const std::vector<Probe> probes = make();
        Statement made;
        made.sql.reserve(probes.size() * 128);
        for (std::size_t i = 0; i < probes.size(); ++i) {
            made.sql.append(i == 0 ? "SELECT " : ", ").append("CASE WHEN EXISTS (SELECT 1 FROM ");
            made.sql.append(probes[i].table).append(" WHERE ").append(probes[i].condition);
            made.sql.append(") THEN 1 ELSE 0 END AS G");
            made.sql.append(std::to_string(i));
            made.markers += probes[i].code;
        }
        return made;
    });
    auto rs = c.ExecuteWith(statement.sql, article.For(statement), nullptr, db::kCommonSqlText);
    if (rs->RecordCount() < 1) throw db::Error(50000, "Righe dell'articolo di origine non lette", "SPMG_DUPLICAART");
    rs->MoveFirst();
    for (std::size_t i = 0; i < count; ++i)
        found[i] = rs->GetFields().Item(static_cast<long>(i)).Value().CLng() != 0;
    return found;
}

// The rows of an article of the company with the code of the marker.
Probe Article(const std::string& company, char code) {
    return {"MG66_ANAGRART", db::JoinText({"MG66_DITTA_CG18 = ", company, " AND MG66_CODART = ?"}), code};
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

    // A missing description is a blank one; without an extended description the source's stays.
    const db::Variant& d = p["@DESCRIZIONE_NEW"].Value();
    const db::Variant& e = p["@DESCRIZIONEEST_NEW"].Value();
    const ArticleValues article{db::Variant(source), db::Variant(target),
                                d.IsNull() || d.IsEmpty() ? db::Variant(std::string()) : db::Variant(d.Text()),
                                e.IsNull() || e.IsEmpty() ? db::Variant::Null() : db::Variant(e.Text())};

    std::vector<CopyRequest> requests;
    std::string asked = company + " ";  // and one letter per group: which were asked for
    // The standard descriptions (language blank), in one statement: the base article's row (option blank)
    // takes the new descriptions, the options' rows keep theirs.
    const bool descriptions = p["@NODUP_MG87_ARTDESC"].Value().CLng() == 0;
    asked += descriptions ? 'Y' : 'N';
    if (descriptions) {
        const auto forBaseRow = [](const char* column, const char* value) {
            return db::JoinText({"CASE WHEN MG87_OPZIONE_MG5E = ' ' THEN ", value, " ELSE ", column, " END"});
        };
        requests.push_back({"MG87_ARTDESC",
                            " AND MG87_LINGUA_MG52 = ' '",
                            {{"MG87_DESCART", {forBaseRow("MG87_DESCART", "?"), 'D'}},
                             {"MG87_DESCARTEST",
                              {forBaseRow("MG87_DESCARTEST", "COALESCE(?, MG87_DESCARTEST)"), 'E'}}}});
    }
    for (const auto& g : kGroups) {
        const bool wanted = p[g.flag].Value().CLng() == 0;
        asked += wanted ? 'Y' : 'N';
        if (wanted) requests.push_back({g.table, g.where, {}});
    }

    // One statement answers whether both codes are articles and which groups have source rows: a copy of no
    // rows writes nothing, so the groups without any need not be sent, and most groups of an article are
    // empty. The master row written first does not change the answers: they are about the source's rows.
    const auto probes = [&] {
        std::vector<Probe> made{Article(company, 'S'), Article(company, 'N')};
        for (const CopyRequest& r : requests) made.push_back({r.table, CodeCondition(r, company), 'S'});
        return made;
    };
    const std::vector<bool> found = AnyRows(c, asked, requests.size() + 2, probes, article);
    if (!found[0]) throw ProcedureError("Articolo di origine '" + source + "' inesistente");
    if (found[1]) throw ProcedureError("Articolo '" + target + "' già esistente");

    CopyRows(c, {"MG66_ANAGRART", "", {}}, company, article);
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (found[i + 2]) CopyRows(c, requests[i], company, article);

    p["@STATO"].Value(db::Variant(db::Decimal::FromInt(0)));
}

}  // namespace erp
