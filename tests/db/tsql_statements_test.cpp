// The component's statements, translated by the dialect adapter, run on a real SQLite database and
// give SQL Server's rows.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>
#include <string>
#include <vector>

#include "db/Error.h"
#include "db/sqlite/TsqlSqlFunctions.h"
#include "db/sqlite/TsqlTranslator.h"
#include "db/tsql_statement_shapes.h"

namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

// Just the columns the statements name; T = text compared case-insensitively, N = number.
const std::vector<std::pair<const char*, const char*>> kTables = {
    {"MG66_ANAGRART", "MG66_DITTA_CG18 N, MG66_CODART T, MG66_IDMEDIA_CG99 N, MG66_FAM_MG53 T, MG66_SFAM_MG54 T, "
                      "MG66_GRUPPO_MG55 T, MG66_SGRUPPO_MG56 T, MG66_MARCA_MG64 T, MG66_GRUSTAT1_MG74 T, MG66_GRUSTAT2_MG75 T, "
                      "MG66_GRUSTAT3_MG76 T, MG66_GRUSTAT4_MG77 T, MG66_GRUPFIS_MG61 T, MG66_GUID T, MG66_FLGVARART N"},
    {"MG87_ARTDESC", "MG87_DITTA_CG18 N, MG87_CODART_MG66 T, MG87_OPZIONE_MG5E T, MG87_LINGUA_MG52 T, MG87_GUID T, "
                     "MG87_DESCART T, MG87_DESCARTEST T, MG87_NOTEART T"},
    {"MG69_UBICAZART", "MG69_DITTA_CG18 N, MG69_CODART_MG66 T, MG69_OPZIONE_MG5E T"},
    {"MG6C_ANAGRARTAGE", "MG6C_DITTA_CG18 N, MG6C_CODART_MG66 T"},
    {"MG4G_ANAGRLOTTI", "MG4G_DITTA_CG18 N, MG4G_CODART_MG66 T, MG4G_OPZIONE_MG5E T"},
    {"MG4N_ARTTRALIM", "MG4N_DITTA_CG18 N, MG4N_CODART_MG66 T"},
    {"MG4P_LOTTRALIM", "MG4P_DITTA_CG18 N, MG4P_CODART_MG66 T, MG4P_OPZIONE_MG5E T"},
    {"SC06_ARTSCORTE", "SC06_DITTA_CG18 N, SC06_CODART_MG66 T, SC06_OPZIONE_MG5E T"},
    {"MG73_ARTCLIFOR", "MG73_DITTA_CG18 N, MG73_ARTCLIFOR T, MG73_TIPOCF_CG44 N, MG73_CLIFOR_CG44 N, MG73_CODART_MG66 T, "
                       "MG73_OPZIONE_MG5E T"},
    {"LI11_ULTPRACQVEN", "LI11_DITTA_CG18 N, LI11_FLGVENACQ N, LI11_CODART_MG66 T, LI11_PROG N"},
    {"MG65_BARCODE", "MG65_DITTA_CG18 N, MG65_CODART_MG66 T, MG65_OPZIONE_MG5E T, MG65_CODBARCODE T, MG65_TIPOBARCODE_MG4B N"},
    {"MG4B_PARMAGBARCODE", "MG4B_DITTA_CG18 N, MG4B_INDBARCODE N, MG4B_STINDMODALITA N, MG4B_STULTNUMDA N, MG4B_STULTNUMA N, "
                           "MG4B_STFLGCHECKDIG N"},
    {"PD42_PARGEST", "PD42_DITTA_CG18 N, PD42_FLGCICLOCODART N"},
    {"PD18_ARTPROD", "PD18_DITTA_CG18 N, PD18_CODART_MG66 T, PD18_OPZIONE T"},
    {"PD27_ANAFORMULE", "PD27_DITTA_CG18 N, PD27_CODART_MG66 T, PD27_OPZIONE T"},
    {"PD52_ANAGCICLI", "PD52_DITTA_CG18 N, PD52_CODICE T, PD52_VERSIONE N, PD52_DESCR T, PD52_GUID T"},
    {"FA10_ARTLAVAGGI", "FA10_DITTA_CG18 N, FA10_CODART_MG66 T, FA10_OPZIONE_MG5E T"},
    {"FA12_ARTICOLI", "FA12_DITTA_CG18 N, FA12_CODART_MG66 T, FA12_OPZIONE_MG5E T, FA12_MODAGG_COD_MG66 T, "
                      "FA12_TESAGG_COD_MG66 T, FA12_STAGIONE_MG5T T, FA12_TIPOLOGIA_FA04 T, FA12_TIPO_FA03 T"},
    {"FA13_ATTRIBUTI", "FA13_GUID T, FA13_ENTITA_FA11 N, FA13_LINEA_FA05 T, FA13_MARCHIO_FA06 T"},
    {"FA37_ASSARTITIPOCOMP", "FA37_DITTA_CG18 N, FA37_CODART_MG66 T, FA37_OPZIONE_MG5E T"},
    {"MG6D_FLGTABARTVAR", "MG6D_DITTA_CG18 N, MG6D_CODART_MG66 T"},
    {"FA00_PARAMETRI", "FA00_DITTA_CG18 N, FA00_FLGGESTIONE N, FA00_INDRAGGR N, FA00_FLGPROTOTIPIA N, FA00_FLGCAMPIONARIO N, "
                       "FA00_FLGCOLLEZIONE N, FA00_FLGRIASSORTIMENTO N"},
    {"MG6B_GESVARART", "MG6B_DITTA_CG18 N, MG6B_CODART_MG66 T, MG6B_CODICEVAR_MG5F T, MG6B_FLGGESTVAR N, MG6B_CODRAGGVAR_MG5G T"},
    {"MG5G_RAGGVAR", "MG5G_DITTA_CG18 N, MG5G_CODICEVAR_MG5F T, MG5G_CODRAGGVAR T, MG5G_DESCRRAGGVAR T"},
    {"MG5H_COMPRAGVAR", "MG5H_DITTA_CG18 N, MG5H_CODICEVAR_MG5F T, MG5H_RAGGR_MG5G T, MG5H_SEQOPZIONE N, MG5H_OPZIONE_MG5E T, "
                        "MG5H_DESCR T"},
    {"PD95_DISBA", "PD95_IDDISBA N, PD95_DITTA_CG18 N, PD95_TIPO_DISTINTA N, PD95_CODART_MG66 T, PD95_OPZIONE T, PD95_CODICE_DB T"},
    {"PD96_LEGAMIDISBA", "PD96_IDDISBA_PD95 N, PD96_COMPON T, PD96_SEQCOMP N, PD96_OPZIONE T"},
    {"MG5T_STAGIONI", "MG5T_DITTA_CG18 N, MG5T_IDSTAGIONE N, MG5T_CODICE T"},
    {"FA25_STORICOSTAGIONI", "FA25_DITTA_CG18 N, FA25_CODART_MG66 T, FA25_IDSTAGIONE_MG5T N, FA25_FLGPROTOTIPIA N, "
                             "FA25_FLGCAMPIONARIO N, FA25_FLGCOLLEZIONE N, FA25_FLGRIASSORTIMENTO N"},
    {"FA63_AGGANCI", "FA63_DITTA_CG18 N, FA63_CODART_MG66 T, FA63_GUID T, FA63_PREFISSO T"},
    {"FA64_AGGANCIDET", "FA64_DITTA_CG18 N, FA64_GUID_FA63 T, FA64_CODTESS_FA12 T, FA64_STAGIONE_MG5T N"},
    {"MG6F_DIMEART", "MG6F_DITTA_CG18 N, MG6F_SIZE N"},
    {"MG5F_DIMECONF", "MG5F_DITTA_CG18 N, MG5F_CODICEVAR T, MG5F_DESCR_VAR T, MG5F_INDPROGCONFIG N"},
};

std::string Ddl(const char* table, const std::string& columns) {
    std::string out = std::string("CREATE TABLE ") + table + " (";
    for (char c : columns) {
        if (c == 'T' && (out.back() == ' ')) {
            out += "TEXT COLLATE NOCASE";
        } else if (c == 'N' && out.back() == ' ') {
            out += "INTEGER";
        } else {
            out += c;
        }
    }
    return out + ")";
}

class TsqlOnSqlite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        ASSERT_EQ(db::sqlite::RegisterTsqlFunctions(db_), SQLITE_OK);
        for (const auto& [table, columns] : kTables) Raw(Ddl(table, columns));
    }
    void TearDown() override { sqlite3_close(db_); }

    // Runs SQLite text as it is (test data).
    void Raw(const std::string& sql) {
        char* err = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "") << "\n" << sql;
    }

    // Translates a T-SQL batch and runs it; returns the rows of the last statement (NULL as "NULL").
    // A failing statement is a test failure unless `failure` is given to receive SQLite's message.
    Rows Run(const std::string& tsql, std::string* failure = nullptr) {
        Rows rows;
        for (const std::string& sql : db::sqlite::TranslateTsql(tsql).statements) {
            rows.clear();
            sqlite3_stmt* st = nullptr;
            const int prepared = sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr);
            EXPECT_EQ(prepared, SQLITE_OK) << sqlite3_errmsg(db_) << "\n" << sql;
            if (prepared != SQLITE_OK) return rows;
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                Row r;
                for (int i = 0; i < sqlite3_column_count(st); ++i) {
                    const unsigned char* t = sqlite3_column_text(st, i);
                    r.push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
                }
                rows.push_back(r);
            }
            if (failure != nullptr && rc != SQLITE_DONE) *failure = sqlite3_errmsg(db_);
            if (failure == nullptr) {
                EXPECT_EQ(rc, SQLITE_DONE) << sqlite3_errmsg(db_) << "\n" << sql;
            }
            sqlite3_finalize(st);
        }
        return rows;
    }

    std::string One(const std::string& tsql) {
        const Rows r = Run(tsql);
        return r.size() == 1 && r[0].size() == 1 ? r[0][0] : "<" + std::to_string(r.size()) + " rows>";
    }

    sqlite3* db_ = nullptr;
};

TEST_F(TsqlOnSqlite, EveryStatementShapeIsValidSqlite) {
    for (const tsql_shapes::Shape& s : tsql_shapes::AllShapes()) {
        SCOPED_TRACE(s.name);
        try {
            Run(s.tsql);
        } catch (const db::Error& e) {
            ADD_FAILURE() << e.Description() << "\n" << s.tsql;
        }
    }
}

TEST_F(TsqlOnSqlite, BillListKeepsTheOrderAndIsNullWhenEmpty) {
    Raw("INSERT INTO PD95_DISBA VALUES (30, 1, 0, 'NEW01', '', ''), (12, 1, 0, 'NEW01', '', ''), (7, 1, 1, 'NEW01', '', ''),"
        " (8, 1, 0, 'OTHER', '', ''), (9, 2, 0, 'NEW01', '', ''), (5, 1, 0, 'NEW01', '', 'ALT')");
    EXPECT_EQ(One(tsql_shapes::BillList("NEW01")), "30, 12");
    EXPECT_EQ(One(tsql_shapes::BillList("NONE")), "NULL");
    // An ORDER BY inside the list decides the order of the items.
    EXPECT_EQ(One("SELECT STUFF((SELECT ', ' + CAST(PD95_IDDISBA AS VARCHAR(18)) FROM PD95_DISBA WITH (NOLOCK) "
                  "WHERE PD95_DITTA_CG18 = 1 ORDER BY PD95_IDDISBA DESC FOR XML PATH('')), 1, 2, '')"),
              "30, 12, 8, 7, 5");
}

TEST_F(TsqlOnSqlite, ListIdiomIsCorrelatedToTheOuterRow) {
    Raw("INSERT INTO MG5F_DIMECONF VALUES (1, 'TG', 'Size', 0), (1, 'COL', 'Colour', 0), (1, 'EMPTY', NULL, 0)");
    Raw("INSERT INTO MG5H_COMPRAGVAR VALUES (1, 'TG', 'G1', 2, 'M', 'Medium'), (1, 'TG', 'G1', 1, 'S', 'Small'),"
        " (1, 'TG', 'G1', 3, 'L', NULL), (1, 'COL', 'G2', 1, 'RED', 'Red')");
    const Rows rows = Run("SELECT MG5F_CODICEVAR, STUFF((SELECT ' / ' + MG5H_DESCR FROM MG5H_COMPRAGVAR WITH (NOLOCK) "
                          "WHERE MG5H_CODICEVAR_MG5F = MG5F_CODICEVAR ORDER BY MG5H_SEQOPZIONE FOR XML PATH('')), 1, 3, '') "
                          "FROM MG5F_DIMECONF ORDER BY MG5F_CODICEVAR");
    // NULL items drop out of the list, as they do from SQL Server's XML.
    EXPECT_EQ(rows, (Rows{{"COL", "Red"}, {"EMPTY", "NULL"}, {"TG", "Small / Medium"}}));
}

TEST_F(TsqlOnSqlite, UpdateFromChangesOnlyTheJoinedRow) {
    Raw("INSERT INTO MG87_ARTDESC VALUES (1, 'NEW01', '', '', 'G-NEW', 'd', NULL, 'n'), (1, 'NEW01', '', 'EN', 'G-EN', 'd', NULL, 'n'),"
        " (1, 'OLD01', '', '', 'G-OLD', 'd', NULL, 'n')");
    Raw("INSERT INTO FA13_ATTRIBUTI VALUES ('G-NEW', 1, 'l0', 'b0'), ('G-NEW', 2, 'l0', 'b0'), ('G-EN', 1, 'l0', 'b0'),"
        " ('G-OLD', 1, 'l0', 'b0')");
    Run(tsql_shapes::CompletionFa13("'L1'", "'B1'"));
    EXPECT_EQ(Run("SELECT FA13_GUID, FA13_ENTITA_FA11, FA13_LINEA_FA05, FA13_MARCHIO_FA06 FROM FA13_ATTRIBUTI ORDER BY 1, 2"),
              (Rows{{"G-EN", "1", "l0", "b0"}, {"G-NEW", "1", "L1", "B1"}, {"G-NEW", "2", "l0", "b0"}, {"G-OLD", "1", "l0", "b0"}}));
    // The minimal form only assigns the key to itself.
    Run(tsql_shapes::CompletionFa13("", ""));
    EXPECT_EQ(One("SELECT COUNT(*) FROM FA13_ATTRIBUTI WHERE FA13_LINEA_FA05 = 'L1'"), "1");

    Run("UPDATE A SET A.FA13_MARCHIO_FA06 = D.MG87_CODART_MG66 FROM FA13_ATTRIBUTI A INNER JOIN MG87_ARTDESC D "
        "ON D.MG87_GUID = A.FA13_GUID WHERE A.FA13_ENTITA_FA11 = 1");
    EXPECT_EQ(Run("SELECT FA13_GUID, FA13_MARCHIO_FA06 FROM FA13_ATTRIBUTI WHERE FA13_ENTITA_FA11 = 1 ORDER BY 1"),
              (Rows{{"G-EN", "NEW01"}, {"G-NEW", "NEW01"}, {"G-OLD", "OLD01"}}));
}

TEST_F(TsqlOnSqlite, MassSelectionCreatesAConnectionTemporaryTable) {
    Raw("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART, MG66_FAM_MG53, MG66_GUID, MG66_FLGVARART) VALUES"
        " (1, 'MOD01', 'F1', 'A1', 1), (1, 'MOD02', 'F2', 'A2', 0), (1, 'NODESC', 'F1', 'A3', 0), (2, 'MOD01', 'F1', 'A4', 0)");
    Raw("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_OPZIONE_MG5E, MG87_LINGUA_MG52, MG87_GUID, MG87_DESCART)"
        " VALUES (1, 'MOD01', '', '', 'D1', 'Shirt'), (1, 'MOD02', '', '', 'D2', 'Skirt'), (2, 'MOD01', '', '', 'D4', 'Other')");
    Raw("INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66, FA12_OPZIONE_MG5E, FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04,"
        " FA12_TIPO_FA03) VALUES (1, 'MOD01', '', '7', 'T1', 'PF')");
    Raw("INSERT INTO FA13_ATTRIBUTI VALUES ('D1', 1, 'L1', 'B1'), ('D2', 2, 'L9', 'B9')");

    Run(tsql_shapes::kDropTabTemp);  // nothing to drop: no error
    Run(tsql_shapes::MassSelection(""));
    EXPECT_EQ(Run("SELECT MG66_CODART, MG87_DESCART, FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04, FA12_TIPO_FA03, FA13_MARCHIO_FA06,"
                  " FA13_LINEA_FA05, SEL FROM ##TABTEMP ORDER BY MG66_CODART"),
              (Rows{{"MOD01", "Shirt", "7", "T1", "PF", "B1", "L1", "1"},
                    {"MOD02", "Skirt", "NULL", "NULL", "NULL", "NULL", "NULL", "1"}}));
    EXPECT_EQ(One("SELECT COUNT(*) FROM sqlite_temp_master WHERE name = 'TABTEMP'"), "1");
    EXPECT_EQ(One("SELECT COUNT(*) FROM sqlite_master WHERE name = 'TABTEMP'"), "0");

    Run(tsql_shapes::kDropTabTemp);
    Run(tsql_shapes::MassSelection(" AND MG66_ANAGRART.MG66_FAM_MG53 = 'f2' "));
    EXPECT_EQ(Run("  SELECT MG66_CODART FROM ##TABTEMP  "), (Rows{{"MOD02"}}));
}

TEST_F(TsqlOnSqlite, VariantListsOfTheThreeCallers) {
    Raw("INSERT INTO MG5F_DIMECONF VALUES (1, 'TG', 'Size', 0), (1, 'COL', 'Colour', 0), (1, 'FIT', NULL, 1), (1, 'LEN', 'Length', 0)");
    Raw("INSERT INTO MG6B_GESVARART (MG6B_DITTA_CG18, MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR) VALUES"
        " (1, 'MOD01', 'TG', 1), (1, 'MOD01', 'FIT', 1), (1, 'MOD01', 'LEN', 0), (1, 'MOD02', 'COL', 1)");
    const std::string pad(20, ' ');

    Run(tsql_shapes::kDropTabTemp);
    Run(tsql_shapes::VariantListLinksTab("MOD01"));
    EXPECT_EQ(Run(" SELECT *  FROM  ##TABTEMP  ORDER BY MG5F_CODICEVAR"),
              (Rows{{"1", "COL", "Colour", "1", pad}, {"1", "FIT", "", "1", pad}, {"1", "TG", "Size", "1", pad}}));

    Run(tsql_shapes::kDropTabTemp);
    Run(tsql_shapes::VariantListOneArticle("MOD01"));
    EXPECT_EQ(Run(" SELECT SEL, MG5F_CODICEVAR FROM  ##TABTEMP  ORDER BY MG5F_CODICEVAR"), (Rows{{"0", "LEN"}, {"1", "TG"}}));

    Run(tsql_shapes::kDropTabTemp);
    Run(tsql_shapes::VariantListManyArticles());
    EXPECT_EQ(Run(" SELECT SEL, MG5F_CODICEVAR FROM  ##TABTEMP  ORDER BY MG5F_CODICEVAR"), (Rows{{"1", "COL"}, {"1", "TG"}}));
}

TEST_F(TsqlOnSqlite, TopLimitsToTheFirstVersionOnlyWhenNoCycleExists) {
    Raw("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE) VALUES (1, 'CYC01', 3), (1, 'CYC01', 1), (1, 'CYC01', 2)");
    const std::string firstVersion = "SELECT TOP 1 * FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = 1 AND PD52_CODICE = 'CYC01' AND "
                                     "NOT EXISTS (SELECT PD52_CODICE FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = 1 AND "
                                     "PD52_CODICE = 'NEW01') ORDER BY PD52_VERSIONE";
    const Rows rows = Run(firstVersion);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "1");
    Raw("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE) VALUES (1, 'new01', 1)");
    EXPECT_TRUE(Run(firstVersion).empty());
}

TEST_F(TsqlOnSqlite, GroupingBatchCopiesHeaderAndOptionsInOneText) {
    Raw("INSERT INTO MG5G_RAGGVAR VALUES (1, 'TG', 'GRP01', 'GRP01'), (1, 'TG', 'OTHER', 'x')");
    Raw("INSERT INTO MG5H_COMPRAGVAR VALUES (1, 'TG', 'GRP01', 2, 'M', 'Medium'), (1, 'TG', 'GRP01', 1, 'S', 'Small'),"
        " (1, 'TG', 'OTHER', 1, 'XL', 'Extra')");
    EXPECT_EQ(One("SELECT TOP 1 1 FROM MG5G_RAGGVAR WITH (NOLOCK) WHERE MG5G_CODRAGGVAR = 'NEW01'"), "<0 rows>");
    Run(tsql_shapes::GroupingBatch("TG", "NEW01", "GRP01", " MG5G_DESCRRAGGVAR "));
    EXPECT_EQ(Run("SELECT MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = 'NEW01'"),
              (Rows{{"NEW01", "GRP01"}}));
    EXPECT_EQ(Run("SELECT MG5H_SEQOPZIONE, MG5H_OPZIONE_MG5E, MG5H_DESCR FROM MG5H_COMPRAGVAR WHERE MG5H_RAGGR_MG5G = 'NEW01'"
                  " ORDER BY 1"),
              (Rows{{"1", "S", "Small"}, {"2", "M", "Medium"}}));
    EXPECT_EQ(One("SELECT TOP 1 1 FROM MG5G_RAGGVAR WITH (NOLOCK) WHERE MG5G_DITTA_CG18 = 1 AND MG5G_CODICEVAR_MG5F = 'TG' "
                  "AND MG5G_CODRAGGVAR = 'NEW01' "),
              "1");
}

TEST_F(TsqlOnSqlite, CompletionAndSeasonHistory) {
    Raw("INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66, FA12_OPZIONE_MG5E) VALUES (1, 'NEW01', ''), (1, 'MOD01', '')");
    Run(tsql_shapes::CompletionFa12("'SS24'", ""));
    EXPECT_EQ(Run("SELECT FA12_CODART_MG66, FA12_MODAGG_COD_MG66, FA12_TESAGG_COD_MG66, FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04"
                  " FROM FA12_ARTICOLI ORDER BY 1"),
              (Rows{{"MOD01", "NULL", "NULL", "NULL", "NULL"}, {"NEW01", "MOD01", "TS01", "SS24", "NULL"}}));

    Raw("INSERT INTO MG5T_STAGIONI VALUES (1, 7, 'SS24'), (2, 8, 'SS24')");
    EXPECT_EQ(One(tsql_shapes::SeasonId("ss24")), "7");
    for (const tsql_shapes::Shape& s : tsql_shapes::AllShapes())
        if (s.name == "season history insert") Run(s.tsql);
    EXPECT_EQ(Run("SELECT * FROM FA25_STORICOSTAGIONI  WHERE  FA25_DITTA_CG18 =  1 AND  FA25_CODART_MG66 =  'NEW01' AND "
                  " FA25_IDSTAGIONE_MG5T =  7"),
              (Rows{{"1", "NEW01", "7", "1", "0", "1", "0"}}));
}

TEST_F(TsqlOnSqlite, GluedCompanyAndHintsStillSelectTheRightRows) {
    Raw("INSERT INTO LI11_ULTPRACQVEN VALUES (1, 0, 'MOD01', 4), (1, 0, 'MOD01', 9), (1, 1, 'MOD01', 20), (2, 0, 'MOD01', 30)");
    EXPECT_EQ(One("SELECT MAX(LI11_PROG) FROM LI11_ULTPRACQVEN WHERE LI11_DITTA_CG18 =1AND LI11_FLGVENACQ =0 AND "
                  "LI11_CODART_MG66 = 'MOD01'"),
              "9");
    Raw("INSERT INTO PD42_PARGEST VALUES (1, 1)");
    EXPECT_EQ(One("          SELECT      PD42_FLGCICLOCODART FROM      PD42_PARGEST WITH (NOLOCK)WHERE      PD42_DITTA_CG18 = 1"), "1");
}

TEST_F(TsqlOnSqlite, NewIdGivesDistinctUpperCaseGuids) {
    const std::regex guid("^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$");
    const std::string a = One("SELECT NEWID() AS NEWGUID");
    const std::string b = One("SELECT NEWID() AS NEWGUID");
    EXPECT_TRUE(std::regex_match(a, guid)) << a;
    EXPECT_TRUE(std::regex_match(b, guid)) << b;
    EXPECT_NE(a, b);
}

TEST_F(TsqlOnSqlite, FunctionsGiveSqlServerResults) {
    EXPECT_EQ(Run("SELECT LEN('ab  '), LEN(''), SUBSTRING('abcdef', 0, 3), SUBSTRING('abcdef', -1, 3), SUBSTRING('abcdef', 2, 3),"
                  " LEFT('abc', 2), RIGHT('abc', 2), RIGHT('abc', 0), RIGHT('abc', 5), CHARINDEX('C', 'abcabc'), ISNULL(NULL, 'x')"),
              (Rows{{"2", "0", "ab", "a", "bcd", "ab", "bc", "", "abc", "3", "x"}}));
    EXPECT_EQ(Run("SELECT CAST('ab' AS CHAR(4)) + '|', CAST('abcdef' AS VARCHAR(3)), CAST(2.5 AS DECIMAL(5,0)),"
                  " CAST(1.256 AS DECIMAL(9,2)), CAST(7 AS BIT), CAST(0 AS BIT), CONCAT(NULL, 'a', 1)"),
              (Rows{{"ab  |", "abc", "3", "1.26", "1", "0", "a1"}}));
    const std::string now = One("SELECT GETDATE()");
    EXPECT_TRUE(std::regex_match(now, std::regex(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}$)"))) << now;
}

TEST_F(TsqlOnSqlite, PlusAddsOrConcatenatesByTheValuesOfTheRow) {
    Raw("CREATE TABLE P (N INTEGER, R REAL, T TEXT, U TEXT)");
    Raw("INSERT INTO P VALUES (2, 0.5, 'ab', '40')");
    EXPECT_EQ(Run("SELECT N + N, T + T, T + 'x', N + R, U + N, N + NULL, T + NULL FROM P"),
              (Rows{{"4", "abab", "abx", "2.5", "42", "NULL", "NULL"}}));
    std::string failure;
    Run("SELECT T + N FROM P", &failure);
    EXPECT_EQ(failure, "Conversion failed when converting the varchar value 'ab' to a number.");
}

}  // namespace
