#include "bench/ReferenceDuplication.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "erp/TableColumns.h"
#include "generation/LogClock.h"
#include "generation/ProcessingLog.h"
#include "generation/RunLoop.h"
#include "host/ProcessingLogService.h"
#include "mass_duplication/DuplicazioneMassiva.h"

namespace bench {
namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Identifiers and time stamps are the new row's own.
bool LeftToDefault(const erp::ColumnDef& c) {
    return (EndsWith(c.name, "_GUID") && c.hasDefault) || EndsWith(c.name, "_LASTCHANGE") ||
           EndsWith(c.name, "_DTINS");
}

struct Copy {
    std::string table;
    std::map<std::string, std::string> values;  // column -> expression written instead of the source's
    std::string from;                           // FROM clause; the source rows are alias A
    std::string where;
    std::vector<std::string> skip;              // columns the database numbers
};

std::string InsertSelect(const Copy& c) {
    const erp::TableDef* table = erp::FindTable(c.table);
    if (!table) throw std::logic_error("reference copy: no table " + c.table);
    std::string columns, values;
    for (const auto& col : table->columns) {
        if (LeftToDefault(col)) continue;
        if (std::find(c.skip.begin(), c.skip.end(), col.name) != c.skip.end()) continue;
        const auto v = c.values.find(col.name);
        columns += (columns.empty() ? "" : ", ") + col.name;
        values += (values.empty() ? "" : ", ") + (v == c.values.end() ? "A." + col.name : v->second);
    }
    return "INSERT INTO " + c.table + " (" + columns + ") SELECT " + values + " FROM " + c.from + " WHERE " + c.where;
}

// The rows of the source article in a table keyed by company and article.
Copy ArticleRows(const std::string& table, const std::string& prefix, const std::string& company,
                 const std::string& extra = {}) {
    const std::string article = table == "MG66_ANAGRART" ? "MG66_CODART" : prefix + "_CODART_MG66";
    return {table, {{article, "?"}}, table + " A", "A." + prefix + "_DITTA_CG18 = " + company + " AND A." + article +
                                                       " = ?" + extra, {}};
}

}  // namespace

ReferenceDuplicator::ReferenceDuplicator(db::ConnectionPtr connection, long company)
    : connection_(std::move(connection)), company_(std::to_string(company)) {
    const std::string& co = company_;
    auto simple = [&](const std::string& table, const std::string& prefix, std::map<std::string, std::string> values = {},
                      const std::string& extra = {}) {
        Copy c = ArticleRows(table, prefix, co, extra);
        c.values.insert(values.begin(), values.end());
        // The new code comes first in the select list, the source code in the condition.
        Add(table, InsertSelect(c), {'N', 'S'});
    };

    simple("MG66_ANAGRART", "MG66", {{"MG66_FLGVARART", "1"}});
    {
        // The base description takes the new texts; the other languages keep theirs.
        Copy c = ArticleRows("MG87_ARTDESC", "MG87", co, " AND A.MG87_OPZIONE_MG5E = ' '");
        c.values["MG87_DESCART"] = "CASE WHEN A.MG87_LINGUA_MG52 = ' ' THEN ? ELSE A.MG87_DESCART END";
        c.values["MG87_DESCARTEST"] = "CASE WHEN A.MG87_LINGUA_MG52 = ' ' THEN ? ELSE A.MG87_DESCARTEST END";
        Add(c.table, InsertSelect(c), {'N', 'D', 'D', 'S'});
    }
    simple("MG69_UBICAZART", "MG69", {}, " AND A.MG69_OPZIONE_MG5E = ' '");
    // Barcodes of automatically numbered types: the numbering moves on, the new codes take its numbers.
    Add("MG4C_NUMBARCODE",
        "UPDATE MG4C_NUMBARCODE SET MG4C_ULTNUM = MG4C_ULTNUM + (SELECT COUNT(*) FROM MG65_BARCODE A WHERE "
        "A.MG65_DITTA_CG18 = MG4C_DITTA_CG18 AND A.MG65_CODART_MG66 = ? AND A.MG65_OPZIONE_MG5E = ' ' AND "
        "A.MG65_TIPOBARCODE_MG4B = MG4C_TIPOBARCODE_MG4B AND A.MG65_INDTIPOGEST = MG4C_INDTIPOGEST) WHERE "
        "MG4C_DITTA_CG18 = " + co + " AND MG4C_TIPOBARCODE_MG4B IN (SELECT MG4B_INDBARCODE FROM MG4B_PARMAGBARCODE "
        "WHERE MG4B_DITTA_CG18 = " + co + " AND MG4B_STINDMODALITA = 2)",
        {'S'});
    {
        Copy c = ArticleRows("MG65_BARCODE", "MG65", co, " AND A.MG65_OPZIONE_MG5E = ' ' AND T.MG4B_STINDMODALITA = 2");
        c.from = "MG65_BARCODE A INNER JOIN MG4B_PARMAGBARCODE T ON T.MG4B_DITTA_CG18 = A.MG65_DITTA_CG18 AND "
                 "T.MG4B_INDBARCODE = A.MG65_TIPOBARCODE_MG4B INNER JOIN MG4C_NUMBARCODE N ON N.MG4C_DITTA_CG18 = "
                 "A.MG65_DITTA_CG18 AND N.MG4C_TIPOBARCODE_MG4B = A.MG65_TIPOBARCODE_MG4B AND N.MG4C_INDTIPOGEST = "
                 "A.MG65_INDTIPOGEST";
        c.values["MG65_CODBARCODE"] =
            "T.MG4B_PREFISSO + RIGHT('0000000000000000' + CAST(N.MG4C_ULTNUM AS VARCHAR(16)), "
            "T.MG4B_LUNGHEZZA - LEN(T.MG4B_PREFISSO) - T.MG4B_STFLGCHECKDIG)";
        Add(c.table, InsertSelect(c), {'N', 'S'});
    }
    simple("MG73_ARTCLIFOR", "MG73", {}, " AND A.MG73_OPZIONE_MG5E = ' '");
    simple("MG4G_ANAGRLOTTI", "MG4G", {}, " AND A.MG4G_OPZIONE_MG5E = ' '");
    simple("SC06_ARTSCORTE", "SC06", {}, " AND A.SC06_OPZIONE_MG5E = ' '");
    simple("MG6B_GESVARART", "MG6B");
    simple("MG6D_FLGTABARTVAR", "MG6D");
    simple("FA12_ARTICOLI", "FA12");
    // The season history the mass run opens for the new article: the source's season, the company's flags.
    Add("FA25_STORICOSTAGIONI",
        "INSERT INTO FA25_STORICOSTAGIONI (FA25_DITTA_CG18, FA25_CODART_MG66, FA25_IDSTAGIONE_MG5T, FA25_FLGPROTOTIPIA, "
        "FA25_FLGCAMPIONARIO, FA25_FLGCOLLEZIONE, FA25_FLGRIASSORTIMENTO) SELECT A.FA12_DITTA_CG18, ?, "
        "S.MG5T_IDSTAGIONE, P.FA00_FLGPROTOTIPIA, P.FA00_FLGCAMPIONARIO, P.FA00_FLGCOLLEZIONE, "
        "P.FA00_FLGRIASSORTIMENTO FROM FA12_ARTICOLI A INNER JOIN MG5T_STAGIONI S ON S.MG5T_DITTA_CG18 = "
        "A.FA12_DITTA_CG18 AND S.MG5T_CODICE = A.FA12_STAGIONE_MG5T INNER JOIN FA00_PARAMETRI P ON P.FA00_DITTA_CG18 = "
        "A.FA12_DITTA_CG18 WHERE A.FA12_DITTA_CG18 = " + co + " AND A.FA12_CODART_MG66 = ? AND A.FA12_OPZIONE_MG5E = ''",
        {'N', 'S'});
    {
        // Attributes hang on the identifier of the description they describe.
        Copy c{"FA13_ATTRIBUTI",
               {{"FA13_GUID", "N.MG87_GUID"}},
               "FA13_ATTRIBUTI A INNER JOIN MG87_ARTDESC O ON O.MG87_GUID = A.FA13_GUID INNER JOIN MG87_ARTDESC N ON "
               "N.MG87_DITTA_CG18 = O.MG87_DITTA_CG18 AND N.MG87_CODART_MG66 = ? AND N.MG87_OPZIONE_MG5E = "
               "O.MG87_OPZIONE_MG5E AND N.MG87_LINGUA_MG52 = O.MG87_LINGUA_MG52",
               "O.MG87_DITTA_CG18 = " + co + " AND O.MG87_CODART_MG66 = ?",
               {}};
        Add(c.table, InsertSelect(c), {'N', 'S'});
    }
    {
        Copy c = ArticleRows("PD18_ARTPROD", "PD18", co);
        c.values["PD18_CODCICLO"] = "?";
        Add(c.table, InsertSelect(c), {'N', 'N', 'S'});
    }
    {
        Copy c{"PD52_ANAGCICLI", {{"PD52_CODICE", "?"}, {"PD52_DESCR", "?"}}, "PD52_ANAGCICLI A",
               "A.PD52_DITTA_CG18 = " + co + " AND A.PD52_CODICE = ?", {}};
        Add(c.table, InsertSelect(c), {'N', 'D', 'S'});
    }
    {
        Copy c{"PD53_CICLIFASI", {{"PD53_CODICE_PD52", "?"}}, "PD53_CICLIFASI A",
               "A.PD53_DITTA_CG18 = " + co + " AND A.PD53_CODICE_PD52 = ?", {}};
        Add(c.table, InsertSelect(c), {'N', 'S'});
    }
    {
        Copy c = ArticleRows("PD95_DISBA", "PD95", co);
        c.skip = {"PD95_IDDISBA"};
        Add(c.table, InsertSelect(c), {'N', 'S'});
    }
    {
        // Lines hang on the number of their bill of materials.
        Copy c{"PD96_LEGAMIDISBA",
               {{"PD96_IDDISBA_PD95", "N.PD95_IDDISBA"}},
               "PD96_LEGAMIDISBA A INNER JOIN PD95_DISBA O ON O.PD95_IDDISBA = A.PD96_IDDISBA_PD95 INNER JOIN "
               "PD95_DISBA N ON N.PD95_DITTA_CG18 = O.PD95_DITTA_CG18 AND N.PD95_CODART_MG66 = ? AND N.PD95_OPZIONE = "
               "O.PD95_OPZIONE AND N.PD95_TIPO_DISTINTA = O.PD95_TIPO_DISTINTA AND N.PD95_CODICE_DB = O.PD95_CODICE_DB",
               "O.PD95_DITTA_CG18 = " + co + " AND O.PD95_CODART_MG66 = ?",
               {}};
        Add(c.table, InsertSelect(c), {'N', 'S'});
    }
}

ReferenceDuplicator::~ReferenceDuplicator() = default;

void ReferenceDuplicator::OpenRun() {
    journal_ = std::make_shared<host::ProcessingLogService>();
    journal_->Connection(connection_);
    const db::Date now = generation::SystemClock()();
    journal_->Apri(db::Variant(std::stol(company_)), "bench", generation::Giorno(now),
                   std::string(generation::NomeBaseLog) + "_" + company_);
    Log(generation::BannerLog);
    Log("Inizio elaborazione : " + generation::DataOraGenerale(now));
    Log(generation::BannerLog);
}

void ReferenceDuplicator::CloseRun() {
    if (!journal_) return;
    Log(generation::BannerLog);
    Log("Termine elaborazione : " + generation::DataOraGenerale(generation::SystemClock()()));
    Log(generation::BannerLog);
    journal_->Chiudi(1);
    journal_.reset();
}

void ReferenceDuplicator::Log(const std::string& line) {
    if (journal_) journal_->Riga(line, generation::LogInformazione, false);
}

// Translated here, once: a program of its own would keep its statements ready and only bind and run them
// for each article. Sent as T-SQL at every article, each would pass through the driver's translation
// again (its cache look-up and the shaping of its literals), which most of the component's own statements skip.
void ReferenceDuplicator::Add(const std::string& table, const std::string& sql, std::vector<char> codes) {
    std::vector<std::string> native = connection_->GetDriver().Translate(sql);
    if (native.size() != 1) throw std::logic_error("reference copy: not one statement for " + table);
    statements_.push_back({table, std::move(native.front()), std::move(codes)});
}

std::vector<std::string> ReferenceDuplicator::Tables() const {
    std::vector<std::string> tables;
    for (const auto& s : statements_) tables.push_back(s.table);
    return tables;
}

void ReferenceDuplicator::DuplicateOneArticle(const std::string& source, const std::string& target) {
    const db::Variant description("Copia di " + source);
    connection_->BeginTrans();
    try {
        std::vector<db::BoundValue> values;
        for (const Statement& s : statements_) {
            values.clear();
            for (char c : s.codes)
                values.push_back({{}, c == 'N' ? db::Variant(target) : c == 'S' ? db::Variant(source) : description});
            connection_->ExecuteWith(s.sql, values, nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        }
        connection_->CommitTrans();
    } catch (...) {
        connection_->RollbackTrans();
        throw;
    }
    Log(mass_duplication::kLogInizio + source);
    Log("Articolo :  " + target + " Creato ");
    Log(mass_duplication::kLogFine + source);
    Log(generation::kSeparatoreLog);
}

}  // namespace bench
