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

// The statements here run on SQLite only (SQL Server runs the procedure's script): plain names, numbers, quoted
// texts and named parameters, run untranslated (CommonSql.h). The article's values go in as the parameters, so
// that a statement's text depends on the tables and groups only: made once, it is the same prepared statement
// for every article.
constexpr const char* kCompany = ":co";
constexpr const char* kSource = ":src";
constexpr const char* kTarget = ":new";
constexpr const char* kDescription = ":d";
constexpr const char* kExtended = ":e";

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
    std::string where;          // extra condition
    std::map<std::string, std::string> values;  // column -> SQL expression written instead of the source's
};

// A statement's text, made on its first use on this thread and kept under `key`.
template <typename Make>
const std::string& KeptText(const std::string& key, Make make) {
    thread_local std::unordered_map<std::string, std::string> texts;
    auto it = texts.find(key);
    if (it == texts.end()) it = texts.emplace(key, make()).first;
    return it->second;
}

std::string Prefix(const std::string& table) { return table.substr(0, table.find('_')); }

std::string ArticleColumn(const std::string& table) {
    return table == "MG66_ANAGRART" ? "MG66_CODART" : db::JoinText({Prefix(table), "_CODART_MG66"});
}

// "T_DITTA_CG18 = :co AND <article column> = <code><extra>": the rows of that code in the request's table.
std::string CodeCondition(const CopyRequest& r, const char* code) {
    return db::JoinText({Prefix(r.table), "_DITTA_CG18 = ", kCompany, " AND ", ArticleColumn(r.table), " = ", code,
                         r.where});
}

// The source article's rows of the request's table.
std::string SourceCondition(const CopyRequest& r) { return CodeCondition(r, kSource); }

long CopyRows(db::Connection& c, const CopyRequest& r, const std::vector<db::BoundValue>& values) {
    const std::string& sql = KeptText("copy " + r.table + r.where, [&] {
        const TableDef* t = FindTable(r.table);
        if (!t) throw db::Error(208, "Invalid object name '" + r.table + "'.", "SPMG_DUPLICAART");
        const std::string articleColumn = ArticleColumn(r.table);
        db::InsertSelectText text(t->columns.size());
        for (const auto& col : t->columns) {
            if (LeftToDefault(col)) continue;
            std::string_view value = col.name;
            if (col.name == articleColumn) value = kTarget;
            if (auto it = r.values.find(col.name); it != r.values.end()) value = it->second;
            text.Add(col.name, value);
        }
        return text.Statement(r.table, db::JoinText({"FROM ", r.table, " WHERE ", SourceCondition(r)}));
    });
    long affected = 0;
    c.ExecuteWith(sql, values, &affected, db::kCommonSqlText | db::adExecuteNoRecords);
    return affected;
}

// Whether each table has a row meeting its condition, asked in one statement.
struct Probe {
    std::string table;
    std::string condition;
};

// `key` names the probes: the same key, the same tables and conditions.
std::vector<bool> AnyRows(db::Connection& c, const std::string& key, const std::vector<Probe>& probes,
                          const std::vector<db::BoundValue>& values) {
    std::vector<bool> found(probes.size(), false);
    if (probes.empty()) return found;
    const std::string& sql = KeptText("probe " + key, [&] {
        std::string text;
        text.reserve(probes.size() * 128);
        for (std::size_t i = 0; i < probes.size(); ++i) {
            text.append(i == 0 ? "SELECT " : ", ").append("CASE WHEN EXISTS (SELECT 1 FROM ").append(probes[i].table);
            text.append(" WHERE ").append(probes[i].condition).append(") THEN 1 ELSE 0 END AS G");
            text.append(std::to_string(i));
        }
        return text;
    });
    auto rs = c.ExecuteWith(sql, values, nullptr, db::kCommonSqlText);
    if (rs->RecordCount() < 1) throw db::Error(50000, "Righe dell'articolo di origine non lette", "SPMG_DUPLICAART");
    rs->MoveFirst();
    for (std::size_t i = 0; i < probes.size(); ++i)
        found[i] = rs->GetFields().Item(static_cast<long>(i)).Value().CLng() != 0;
    return found;
}

// The rows of an article of the company with this code.
Probe Article(const char* code) {
    return {"MG66_ANAGRART", db::JoinText({"MG66_DITTA_CG18 = ", kCompany, " AND MG66_CODART = ", code})};
}

db::Error ProcedureError(const std::string& text) { return db::Error(50000, text, "SPMG_DUPLICAART"); }

}  // namespace

void SpmgDuplicaArt(db::Connection& c, db::Parameters& p) {
    const db::Variant& company = p["@DITTA"].Value();
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

    // A missing description is a blank one; a missing extended description stays missing.
    const db::Variant& d = p["@DESCRIZIONE_NEW"].Value();
    const db::Variant& e = p["@DESCRIZIONEEST_NEW"].Value();
    const std::vector<db::BoundValue> values{
        {kCompany, db::Variant(company.CLng())},
        {kSource, db::Variant(source)},
        {kTarget, db::Variant(target)},
        {kDescription, d.IsNull() || d.IsEmpty() ? db::Variant(std::string()) : db::Variant(d.Text())},
        {kExtended, e.IsNull() || e.IsEmpty() ? db::Variant::Null() : db::Variant(e.Text())}};

    std::vector<CopyRequest> requests;
    std::string asked;  // one letter per group: which were asked for
    // The standard descriptions (language blank), in one statement: the base article's row (option blank)
    // takes the new descriptions, the options' rows keep theirs.
    const bool descriptions = p["@NODUP_MG87_ARTDESC"].Value().CLng() == 0;
    asked += descriptions ? 'Y' : 'N';
    if (descriptions) {
        const auto forBaseRow = [](const char* value, const char* column) {
            return db::JoinText({"CASE WHEN MG87_OPZIONE_MG5E = ' ' THEN ", value, " ELSE ", column, " END"});
        };
        requests.push_back({"MG87_ARTDESC",
                            " AND MG87_LINGUA_MG52 = ' '",
                            {{"MG87_DESCART", forBaseRow(kDescription, "MG87_DESCART")},
                             {"MG87_DESCARTEST", forBaseRow(kExtended, "MG87_DESCARTEST")}}});
    }
    for (const auto& g : kGroups) {
        const bool wanted = p[g.flag].Value().CLng() == 0;
        asked += wanted ? 'Y' : 'N';
        if (wanted) requests.push_back({g.table, g.where, {}});
    }

    // One statement answers whether both codes are articles and which groups have source rows: a copy of no
    // rows writes nothing, so the groups without any need not be sent, and most groups of an article are
    // empty. The master row written first does not change the answers: they are about the source's rows.
    std::vector<Probe> probes{Article(kSource), Article(kTarget)};
    for (const CopyRequest& r : requests) probes.push_back({r.table, SourceCondition(r)});
    const std::vector<bool> found = AnyRows(c, asked, probes, values);
    if (!found[0]) throw ProcedureError("Articolo di origine '" + source + "' inesistente");
    if (found[1]) throw ProcedureError("Articolo '" + target + "' già esistente");

    CopyRows(c, {"MG66_ANAGRART", "", {}}, values);
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (found[i + 2]) CopyRows(c, requests[i], values);

    p["@STATO"].Value(db::Variant(db::Decimal::FromInt(0)));
}

}  // namespace erp
