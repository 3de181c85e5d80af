// The ERP schema: it builds, it holds every name the component's statements use, rows copied by
// position line up, omitted columns take their defaults, keys refuse what the ERP refuses, and the
// SQL Server script declares the same tables.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "erp/Schema.h"

namespace {

// ---------------------------------------------------------------------------------------------------
// Names the component's statements rely on, per table. Tables copied only by SPMG_DUPLICAART are
// listed with no columns: their company and article columns are checked by the layout test.
// ---------------------------------------------------------------------------------------------------
const std::map<std::string, std::vector<std::string>> kNamedColumns = {
    {"MG66_ANAGRART",
     {"MG66_CODART", "MG66_DITTA_CG18", "MG66_FAM_MG53", "MG66_FLGVARART", "MG66_GRUPFIS_MG61",
      "MG66_GRUPPO_MG55", "MG66_GRUSTAT1_MG74", "MG66_GRUSTAT2_MG75", "MG66_GRUSTAT3_MG76",
      "MG66_GRUSTAT4_MG77", "MG66_GUID", "MG66_IDMEDIA_CG99", "MG66_MARCA_MG64",
      "MG66_SFAM_MG54", "MG66_SGRUPPO_MG56"}},
    {"MG87_ARTDESC",
     {"MG87_CODART_MG66", "MG87_DESCART", "MG87_DESCARTEST", "MG87_DITTA_CG18", "MG87_GUID",
      "MG87_LASTCHANGE", "MG87_LINGUA_MG52", "MG87_NOTEART", "MG87_OPZIONE_MG5E"}},
    {"MG69_UBICAZART",
     {"MG69_CODART_MG66", "MG69_COLLIATTESACAR", "MG69_COLLIATTESASCA", "MG69_COLLIUBICEFF",
      "MG69_DITTA_CG18", "MG69_OPZIONE_MG5E", "MG69_QTA1ATTESACAR", "MG69_QTA1ATTESASCA",
      "MG69_QTA1UBICEFF", "MG69_QTA2ATTESACAR", "MG69_QTA2ATTESASCA", "MG69_QTA2UBICEFF"}},
    {"MG4B_PARMAGBARCODE",
     {"MG4B_DITTA_CG18", "MG4B_INDBARCODE", "MG4B_STFLGCHECKDIG", "MG4B_STINDMODALITA",
      "MG4B_STULTNUMA", "MG4B_STULTNUMDA"}},
    {"MG65_BARCODE",
     {"MG65_CODART_MG66", "MG65_CODBARCODE", "MG65_DITTA_CG18", "MG65_FLGCHECKDIG",
      "MG65_IDMEDIA_CG99", "MG65_INDTIPOGEST", "MG65_LASTCHANGE", "MG65_OPZIONE_MG5E",
      "MG65_PROGA", "MG65_PROGDA", "MG65_TIPOBARCODE_MG4B"}},
    {"MG73_ARTCLIFOR",
     {"MG73_CLIFOR_CG44", "MG73_CODART_MG66", "MG73_DITTA_CG18", "MG73_OPZIONE_MG5E",
      "MG73_TIPOCF_CG44"}},
    {"MG6C_ANAGRARTAGE",
     {"MG6C_CODART_MG66", "MG6C_DITTA_CG18"}},
    {"MG4G_ANAGRLOTTI",
     {"MG4G_CODART_MG66", "MG4G_DITTA_CG18", "MG4G_GUID", "MG4G_OPZIONE_MG5E"}},
    {"MG4N_ARTTRALIM",
     {"MG4N_CODART_MG66", "MG4N_DITTA_CG18"}},
    {"MG4P_LOTTRALIM",
     {"MG4P_CODART_MG66", "MG4P_DITTA_CG18", "MG4P_OPZIONE_MG5E"}},
    {"SC06_ARTSCORTE",
     {"SC06_AANNOVIS", "SC06_APERVIS", "SC06_CODART_MG66", "SC06_CONSGGANAL", "SC06_CONSMEDIO",
      "SC06_CONSPERANAL", "SC06_CONSPEROSS", "SC06_DAANNOVIS", "SC06_DAPERVIS",
      "SC06_DITTA_CG18", "SC06_INDTRAND", "SC06_LEADTIME", "SC06_LIVRIORD", "SC06_LOTTRIORD",
      "SC06_OPZIONE_MG5E", "SC06_RAPPMEDIE", "SC06_SCORMAX", "SC06_SCORMIN", "SC06_SCORSIC",
      "SC06_TRAND"}},
    {"LI11_ULTPRACQVEN",
     {"LI11_CODART_MG66", "LI11_DITTA_CG18", "LI11_FLGVENACQ", "LI11_PROG"}},
    {"MG5F_DIMECONF",
     {"MG5F_CODICEVAR", "MG5F_DESCR_VAR", "MG5F_DITTA_CG18", "MG5F_INDPROGCONFIG"}},
    {"MG5G_RAGGVAR",
     {"MG5G_CODICEVAR_MG5F", "MG5G_CODRAGGVAR", "MG5G_DESCRRAGGVAR", "MG5G_DITTA_CG18"}},
    {"MG5H_COMPRAGVAR",
     {"MG5H_CODICEVAR_MG5F", "MG5H_DESCR", "MG5H_DITTA_CG18", "MG5H_OPZIONE_MG5E",
      "MG5H_RAGGR_MG5G", "MG5H_SEQOPZIONE"}},
    {"MG6B_GESVARART",
     {"MG6B_CODART_MG66", "MG6B_CODICEVAR_MG5F", "MG6B_CODRAGGVAR_MG5G", "MG6B_DITTA_CG18",
      "MG6B_FLGGESTVAR"}},
    {"MG6D_FLGTABARTVAR",
     {"MG6D_CODART_MG66", "MG6D_DITTA_CG18"}},
    {"MG6F_DIMEART",
     {"MG6F_DITTA_CG18", "MG6F_SIZE"}},
    {"MG5T_STAGIONI",
     {"MG5T_CODICE", "MG5T_DITTA_CG18", "MG5T_IDSTAGIONE"}},
    {"FA00_PARAMETRI",
     {"FA00_DITTA_CG18", "FA00_FLGCAMPIONARIO", "FA00_FLGCOLLEZIONE", "FA00_FLGGESTIONE",
      "FA00_FLGPROTOTIPIA", "FA00_FLGRIASSORTIMENTO", "FA00_INDRAGGR"}},
    {"FA10_ARTLAVAGGI",
     {"FA10_CODART_MG66", "FA10_DITTA_CG18", "FA10_OPZIONE_MG5E"}},
    {"FA12_ARTICOLI",
     {"FA12_CODART_MG66", "FA12_DITTA_CG18", "FA12_MODAGG_COD_MG66", "FA12_OPZIONE_MG5E",
      "FA12_STAGIONE_MG5T", "FA12_TESAGG_COD_MG66", "FA12_TIPOLOGIA_FA04", "FA12_TIPO_FA03"}},
    {"FA13_ATTRIBUTI",
     {"FA13_ENTITA_FA11", "FA13_GUID", "FA13_LINEA_FA05", "FA13_MARCHIO_FA06"}},
    {"FA25_STORICOSTAGIONI",
     {"FA25_CODART_MG66", "FA25_DITTA_CG18", "FA25_FLGCAMPIONARIO", "FA25_FLGCOLLEZIONE",
      "FA25_FLGPROTOTIPIA", "FA25_FLGRIASSORTIMENTO", "FA25_IDSTAGIONE_MG5T"}},
    {"FA37_ASSARTITIPOCOMP",
     {"FA37_CODART_MG66", "FA37_DITTA_CG18", "FA37_OPZIONE_MG5E"}},
    {"FA63_AGGANCI",
     {"FA63_CODALT", "FA63_CODART_MG66", "FA63_DITTA_CG18", "FA63_FLGCODALT", "FA63_GUID",
      "FA63_PREFISSO", "FA63_SEQUENZA", "FA63_TSPRINCIPALE"}},
    {"FA64_AGGANCIDET",
     {"FA64_ARTAGGANCIO_MG66", "FA64_CODTESS_FA12", "FA64_DESCRESTESA", "FA64_DESCRIZIONE",
      "FA64_DITTA_CG18", "FA64_GUID", "FA64_GUID_FA63", "FA64_LINEA_FA05", "FA64_MARCHIO_FA06",
      "FA64_QTA1DIBA", "FA64_STAGIONE_MG5T", "FA64_TIPOLOGIA_FA04"}},
    {"PD18_ARTPROD",
     {"PD18_CODART_MG66", "PD18_CODCICLO", "PD18_DITTA_CG18", "PD18_OPZIONE"}},
    {"PD27_ANAFORMULE",
     {"PD27_CODART_MG66", "PD27_DITTA_CG18", "PD27_OPZIONE"}},
    {"PD42_PARGEST",
     {"PD42_DITTA_CG18", "PD42_FLGCICLOCODART"}},
    {"PD52_ANAGCICLI",
     {"PD52_CODICE", "PD52_DESCR", "PD52_DITTA_CG18", "PD52_GUID", "PD52_VERSIONE"}},
    {"PD95_DISBA",
     {"PD95_CODART_MG66", "PD95_CODICE_DB", "PD95_DITTA_CG18", "PD95_IDDISBA", "PD95_OPZIONE",
      "PD95_TIPO_DISTINTA"}},
    {"PD96_LEGAMIDISBA",
     {"PD96_COMPON", "PD96_IDDISBA_PD95", "PD96_OPZIONE", "PD96_SEQCOMP"}},
    {"MG68_CONFART", {}},
    {"MG67_SCORTE", {}},
    {"MG84_ARTALTER", {}},
    {"MG85_ARTSOST", {}},
    {"MG86_ARTCONC", {}},
    {"MG92_ARTPACKL", {}},
    {"MG7A_UBICAZARTFIX", {}},
    {"LI10_LISTARTIC", {}},
    {"MG72_APPLICART", {}},
    {"MG43_ARTPERS", {}},
    {"MG98_MAGINTRA", {}},
    {"MG6M_PARAMARTLOTTI", {}},
    {"PK07_ARTIMB", {}},
};

// SQL Server's default comparison, for these tests: ASCII case-insensitive, trailing blanks ignored.
int CompareAsSqlServer(void*, int lengthA, const void* a, int lengthB, const void* b) {
    std::string_view x(static_cast<const char*>(a), lengthA), y(static_cast<const char*>(b), lengthB);
    while (!x.empty() && x.back() == ' ') x.remove_suffix(1);
    while (!y.empty() && y.back() == ' ') y.remove_suffix(1);
    for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const int cx = std::toupper(static_cast<unsigned char>(x[i]));
        const int cy = std::toupper(static_cast<unsigned char>(y[i]));
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

using Row = std::vector<std::optional<std::string>>;

struct Column {
    std::string name;
    bool notNull = false;
    std::optional<std::string> defaultValue;
};

class SchemaDatabase {
public:
    SchemaDatabase() {
        sqlite3_open(":memory:", &db_);
        sqlite3_create_collation(db_, "SQLSERVER", SQLITE_UTF8, nullptr, CompareAsSqlServer);
    }
    ~SchemaDatabase() { sqlite3_close(db_); }
    SchemaDatabase(const SchemaDatabase&) = delete;
    SchemaDatabase& operator=(const SchemaDatabase&) = delete;

    // Empty on success, else SQLite's message.
    std::string Exec(const std::string& sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return {};
        std::string text = message ? message : "error";
        sqlite3_free(message);
        return text;
    }

    std::vector<Row> Query(const std::string& sql) {
        std::vector<Row> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in " << sql;
            return rows;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = sqlite3_column_text(stmt, i);
                row.push_back(text ? std::optional<std::string>(reinterpret_cast<const char*>(text))
                                   : std::nullopt);
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    std::string Scalar(const std::string& sql) {
        const auto rows = Query(sql);
        if (rows.empty() || rows[0].empty() || !rows[0][0]) return "<null>";
        return *rows[0][0];
    }

    std::vector<Column> Columns(const std::string& table) {
        std::vector<Column> columns;
        for (const auto& row : Query("PRAGMA table_info(" + table + ")"))
            columns.push_back({*row[1], *row[3] == "1", row[4]});
        return columns;
    }

    std::vector<std::string> ColumnNames(const std::string& table) {
        std::vector<std::string> names;
        for (const auto& c : Columns(table)) names.push_back(c.name);
        return names;
    }

    // Column lists of every index of the table, the primary key's included.
    std::vector<std::vector<std::string>> Indexes(const std::string& table) {
        std::vector<std::vector<std::string>> indexes;
        for (const auto& index : Query("PRAGMA index_list(" + table + ")")) {
            std::vector<std::string> columns;
            for (const auto& info : Query("PRAGMA index_info('" + *index[1] + "')")) columns.push_back(*info[2]);
            indexes.push_back(columns);
        }
        return indexes;
    }

private:
    sqlite3* db_ = nullptr;
};

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(db.Exec(erp::SqliteSchemaDdl()), ""); }

    std::string Prefix(const std::string& table) { return table.substr(0, 4); }

    // Position of a column, -1 when the table has none of that name.
    int IndexOf(const std::string& table, const std::string& column) {
        const auto names = db.ColumnNames(table);
        const auto it = std::find(names.begin(), names.end(), column);
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }

    // The article column of a table (..._CODART_MG66, MG66_CODART for the master), empty when none.
    std::string ArticleColumn(const std::string& table) {
        if (table == "MG66_ANAGRART") return "MG66_CODART";
        const auto column = Prefix(table) + "_CODART_MG66";
        return IndexOf(table, column) >= 0 ? column : "";
    }

    SchemaDatabase db;
};

// ---------------------------------------------------------------------------------------------------
// Tables and names
// ---------------------------------------------------------------------------------------------------

TEST_F(SchemaTest, HoldsEveryTableAndColumnTheStatementsName) {
    for (const auto& [table, columns] : kNamedColumns) {
        const auto names = db.ColumnNames(table);
        EXPECT_FALSE(names.empty()) << "missing table " << table;
        for (const auto& column : columns)
            EXPECT_NE(std::find(names.begin(), names.end(), column), names.end())
                << "missing column " << table << "." << column;
    }
}

// ---------------------------------------------------------------------------------------------------
// Layout: what copying by position relies on
// ---------------------------------------------------------------------------------------------------

TEST_F(SchemaTest, CompanyArticleAndOptionLeadEveryTable) {
    for (const auto& table : erp::TableNames()) {
        SCOPED_TRACE(table);
        const auto names = db.ColumnNames(table);
        const auto prefix = Prefix(table);
        for (const auto& name : names) EXPECT_EQ(name.substr(0, 5), prefix + "_") << name;
        if (table == "FA13_ATTRIBUTI" || table == "MG73_ARTCLIFOR") continue;  // layouts of their own, below
        EXPECT_EQ(names[0], prefix + "_DITTA_CG18");
        const auto article = ArticleColumn(table);
        if (article.empty()) continue;
        EXPECT_EQ(IndexOf(table, article), 1);
        for (const auto& option : {prefix + "_OPZIONE_MG5E", prefix + "_OPZIONE"}) {
            if (IndexOf(table, option) >= 0) {
                EXPECT_EQ(IndexOf(table, option), 2) << option;
            }
        }
    }
}

TEST_F(SchemaTest, FieldsSkippedByTheCopiesAreTheOnesThatMustNotBeCopied) {
    // Traceability is copied from the fourth field on: the third is the row identifier.
    EXPECT_EQ(IndexOf("MG4N_ARTTRALIM", "MG4N_GUID"), 2);
    // Fashion tables are copied from the fourth field on: the third is the option, set by name.
    for (const std::string table : {"FA10_ARTLAVAGGI", "FA12_ARTICOLI", "FA37_ASSARTITIPOCOMP"})
        EXPECT_EQ(IndexOf(table, Prefix(table) + "_OPZIONE_MG5E"), 2) << table;
    // Every satellite copied by position has something to copy beyond company, article and option.
    for (const std::string table : {"MG87_ARTDESC", "MG69_UBICAZART", "MG6C_ANAGRARTAGE", "MG4G_ANAGRLOTTI",
                                    "MG4N_ARTTRALIM", "MG4P_LOTTRALIM", "SC06_ARTSCORTE", "PD27_ANAFORMULE",
                                    "FA10_ARTLAVAGGI", "FA12_ARTICOLI", "FA37_ASSARTITIPOCOMP",
                                    "MG6B_GESVARART", "MG6D_FLGTABARTVAR"})
        EXPECT_GE(db.ColumnNames(table).size(), 6u) << table;
}

TEST_F(SchemaTest, EveryArticleTableHasAnIndexLedByCompanyAndArticle) {
    for (const auto& table : erp::TableNames()) {
        auto article = ArticleColumn(table);
        if (table == "FA64_AGGANCIDET") article = "FA64_ARTAGGANCIO_MG66";
        if (article.empty()) continue;
        const auto company = Prefix(table) + "_DITTA_CG18";
        bool found = false;
        for (const auto& index : db.Indexes(table))
            found |= index.size() >= 2 && index[0] == company && index[1] == article;
        EXPECT_TRUE(found) << table;
    }
}

// ---------------------------------------------------------------------------------------------------
// Defaults
// ---------------------------------------------------------------------------------------------------

TEST_F(SchemaTest, StockParametersLeftOutOfAnInsertTakeTheirDefaults) {
    ASSERT_EQ(db.Exec("INSERT INTO SC06_ARTSCORTE (SC06_DITTA_CG18, SC06_CODART_MG66) VALUES (1, 'A')"), "");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"SC06_SCORMIN", "0"},   {"SC06_CONSPEROSS", "12"}, {"SC06_CONSPERANAL", "0"}, {"SC06_CONSGGANAL", "0"},
        {"SC06_CONSMEDIO", "0"}, {"SC06_SCORMAX", "0"},     {"SC06_LEADTIME", "0"},    {"SC06_TRAND", "0"},
        {"SC06_RAPPMEDIE", "1"}, {"SC06_INDTRAND", "0"},    {"SC06_LOTTRIORD", "0"},   {"SC06_SCORSIC", "0"},
        {"SC06_LIVRIORD", "0"},  {"SC06_DAANNOVIS", "0"},   {"SC06_AANNOVIS", "0"},    {"SC06_DAPERVIS", "1"},
        {"SC06_APERVIS", "12"}};
    ASSERT_EQ(expected.size(), 17u);
    for (const auto& [column, value] : expected)
        EXPECT_EQ(db.Scalar("SELECT " + column + " FROM SC06_ARTSCORTE"), value) << column;
    EXPECT_EQ(db.Scalar("SELECT '[' || SC06_OPZIONE_MG5E || ']' FROM SC06_ARTSCORTE"), "[ ]");
}

TEST_F(SchemaTest, OptionOfTheBaseArticleIsABlankInWarehouseTablesAndEmptyInFashionTables) {
    ASSERT_EQ(db.Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66) VALUES (1, 'A');"
                      "INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66) VALUES (1, 'A');"
                      "INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66) VALUES (1, 'A');"),
              "");
    EXPECT_EQ(db.Scalar("SELECT '[' || MG87_OPZIONE_MG5E || MG87_LINGUA_MG52 || ']' FROM MG87_ARTDESC"), "[  ]");
    EXPECT_EQ(db.Scalar("SELECT '[' || PD18_OPZIONE || ']' FROM PD18_ARTPROD"), "[ ]");
    EXPECT_EQ(db.Scalar("SELECT '[' || FA12_OPZIONE_MG5E || ']' FROM FA12_ARTICOLI"), "[]");
}

TEST_F(SchemaTest, DatabaseMakesTheIdentifiersOfLinksArticlesLotsAndCycles) {
    ASSERT_EQ(db.Exec("INSERT INTO FA63_AGGANCI (FA63_DITTA_CG18, FA63_CODART_MG66) VALUES (1, 'M');"
                      "INSERT INTO FA64_AGGANCIDET (FA64_DITTA_CG18, FA64_GUID_FA63, FA64_CODTESS_FA12, "
                      "  FA64_DESCRIZIONE) SELECT 1, FA63_GUID, 'T1', 'D' FROM FA63_AGGANCI;"
                      "INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'M');"
                      "INSERT INTO MG4G_ANAGRLOTTI (MG4G_DITTA_CG18, MG4G_CODART_MG66, MG4G_CODLOTTO) "
                      "  VALUES (1, 'M', 'L1');"
                      "INSERT INTO MG4N_ARTTRALIM (MG4N_DITTA_CG18, MG4N_CODART_MG66, MG4N_CODTRACC) "
                      "  VALUES (1, 'M', 'T');"
                      "INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE) VALUES (1, 'M');"),
              "");
    std::set<std::string> seen;
    for (const std::string sql :
         {"SELECT FA63_GUID FROM FA63_AGGANCI", "SELECT FA64_GUID FROM FA64_AGGANCIDET",
          "SELECT MG66_GUID FROM MG66_ANAGRART", "SELECT MG4G_GUID FROM MG4G_ANAGRLOTTI",
          "SELECT MG4N_GUID FROM MG4N_ARTTRALIM", "SELECT PD52_GUID FROM PD52_ANAGCICLI"}) {
        const auto value = db.Scalar(sql);
        EXPECT_EQ(value.size(), 36u) << sql;
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM FA64_AGGANCIDET INNER JOIN FA63_AGGANCI ON FA64_GUID_FA63 = FA63_GUID"),
              "1");
}

// ---------------------------------------------------------------------------------------------------
// Keys and collation
// ---------------------------------------------------------------------------------------------------

TEST_F(SchemaTest, TextComparesCaseInsensitivelyIgnoringTrailingBlanks) {
    ASSERT_EQ(db.Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'abc')"), "");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'ABC  '"), "1");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'ABD'"), "0");
    ASSERT_EQ(db.Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66) VALUES (1, 'abc')"), "");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM MG87_ARTDESC WHERE MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = ''"),
              "1");
}

TEST_F(SchemaTest, ArticleCodesAreUniquePerCompanyAsTheCollationSeesThem) {
    ASSERT_EQ(db.Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'abc')"), "");
    EXPECT_NE(db.Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'ABC ')"), "");
    EXPECT_EQ(db.Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (2, 'abc')"), "");
}

// ---------------------------------------------------------------------------------------------------
// The SQL Server script
// ---------------------------------------------------------------------------------------------------

struct Script {
    std::vector<std::string> tables;                                              // creation order
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> columns;  // name, definition
    std::set<std::string> indexes;                                                // whole statements
};

std::string WithoutComments(const std::string& sql) {
    std::string out;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql.compare(i, 2, "--") == 0) {
            i = sql.find('\n', i);
            if (i == std::string::npos) break;
        }
        out += sql[i];
    }
    return out;
}

std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// Splits at commas outside parentheses.
std::vector<std::string> TopLevelItems(const std::string& body) {
    std::vector<std::string> items(1);
    int depth = 0;
    for (char c : body) {
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c == ',' && depth == 0) {
            items.emplace_back();
        } else {
            items.back() += c;
        }
    }
    return items;
}

Script Parse(const std::string& ddl) {
    Script script;
    std::string statement;
    for (char c : WithoutComments(ddl) + ";") {
        if (c != ';') {
            statement += c;
            continue;
        }
        const auto text = Squeezed(statement);
        statement.clear();
        if (text.rfind("CREATE TABLE ", 0) == 0) {
            const auto open = text.find('(');
            const auto name = Squeezed(text.substr(13, open - 13));
            script.tables.push_back(name);
            for (const auto& item : TopLevelItems(text.substr(open + 1, text.rfind(')') - open - 1))) {
                const auto definition = Squeezed(item);
                if (definition.rfind("CONSTRAINT ", 0) == 0) continue;
                const auto space = definition.find(' ');
                script.columns[name].emplace_back(definition.substr(0, space), definition.substr(space + 1));
            }
        } else if (text.find(" INDEX ") != std::string::npos) {
            script.indexes.insert(text);
        }
    }
    return script;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SchemaTest, SqlServerScriptDeclaresTheSameTablesAndColumnsInTheSameOrder) {
    const auto tsql = Parse(erp::TsqlSchemaDdl());
    EXPECT_EQ(tsql.tables, erp::TableNames());
    for (const auto& table : erp::TableNames()) {
        std::vector<std::string> names;
        for (const auto& column : tsql.columns.at(table)) names.push_back(column.first);
        EXPECT_EQ(names, db.ColumnNames(table)) << table;
    }
    EXPECT_EQ(tsql.indexes, Parse(erp::SqliteSchemaDdl()).indexes);
}

TEST_F(SchemaTest, SqlServerScriptKeepsNullsDefaultsAndGeneratedKeys) {
    const auto sqlite = Parse(erp::SqliteSchemaDdl());
    const auto tsql = Parse(erp::TsqlSchemaDdl());
    for (const auto& table : sqlite.tables) {
        const auto& lite = sqlite.columns.at(table);
        const auto& server = tsql.columns.at(table);
        ASSERT_EQ(lite.size(), server.size()) << table;
        for (size_t i = 0; i < lite.size(); ++i) {
            SCOPED_TRACE(table + "." + lite[i].first);
            const auto& a = lite[i].second;
            const auto& b = server[i].second;
            EXPECT_EQ(Has(a, "NOT NULL") || Has(a, "PRIMARY KEY"), Has(b, "NOT NULL"));
            EXPECT_EQ(Has(a, "DEFAULT"), Has(b, "DEFAULT"));
            EXPECT_EQ(Has(a, "randomblob"), Has(b, "NEWID()"));
            EXPECT_EQ(Has(a, "AUTOINCREMENT"), Has(b, "IDENTITY(1,1)"));
            EXPECT_EQ(Has(a, "COLLATE SQLSERVER"), Has(b, "CHAR"));  // text columns on both sides
            for (const std::string foreign : {"COLLATE", "AUTOINCREMENT", "randomblob", "datetime(", " TEXT"})
                EXPECT_FALSE(Has(" " + b, foreign)) << b;
        }
    }
}

}  // namespace
