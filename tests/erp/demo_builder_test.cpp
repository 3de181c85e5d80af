// The demo company: built on an empty in-memory database, with MODELLO01 holding rows in every table a
// duplication reads, fabrics covering each colour-from-fabric case, links ready to generate, barcodes
// whose numbering is ahead of every code in use, and generated articles for benchmarks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/DemoBuilder.h"

namespace {

class DemoBuilderTest : public ::testing::Test {
protected:
    DemoBuilderTest() : c_(db::Connection::Create()) { c_->Open("sqlite::memory:"); }

    std::string Build(long extraArticles = 0, long company = 1) {
        erp::DemoOptions options;
        options.company = company;
        options.extraArticles = extraArticles;
        return erp::BuildDemoDatabase(*c_, options);
    }

    std::vector<std::vector<db::Variant>> Rows(const std::string& sql) {
        auto rs = c_->Execute(sql);
        std::vector<std::vector<db::Variant>> rows;
        if (rs->RecordCount() > 0) rs->MoveFirst();
        for (; !rs->EOF(); rs->MoveNext()) {
            std::vector<db::Variant> row;
            for (long i = 0; i < rs->GetFields().Count(); ++i) row.push_back((*rs)[i].Value());
            rows.push_back(std::move(row));
        }
        return rows;
    }

    db::Variant Value(const std::string& sql) {
        const auto rows = Rows(sql);
        if (rows.empty()) throw std::runtime_error("no row: " + sql);
        return rows.front().front();
    }

    long Count(const std::string& sql) { return Value("SELECT COUNT(*) FROM " + sql).CLng(); }

    // Rows of table for company 1 and article, with an optional further condition.
    long ArticleRows(const std::string& table, const std::string& article, const std::string& condition = {}) {
        const std::string prefix = table.substr(0, 4);
        const std::string articleColumn = table == "MG66_ANAGRART" ? "MG66_CODART" : prefix + "_CODART_MG66";
        std::string sql = table + " WHERE " + prefix + "_DITTA_CG18 = 1 AND " + articleColumn + " = '" + article + "'";
        if (!condition.empty()) sql += " AND " + condition;
        return Count(sql);
    }

    static std::string Text(const db::Variant& v) { return v.Text(); }

    static char Ean13CheckDigit(const std::string& twelve) {
        int sum = 0;
        for (std::size_t i = 0; i < 12; ++i) sum += (twelve[i] - '0') * (i % 2 ? 3 : 1);
        return static_cast<char>('0' + (10 - sum % 10) % 10);
    }

    db::ConnectionPtr c_;
};

// ---------------------------------------------------------------------------------------------------
// The company
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, SummaryCountsWhatWasBuilt) {
    EXPECT_EQ(Build(), "26 articles, 6 fabrics, 3 link headers with 7 rows, company 1");
}

TEST_F(DemoBuilderTest, CompanySettingsAreThoseTheShellReads) {
    Build();
    const std::map<std::string, std::string> expected{
        {"VarianteColore", "COL"},       {"FlgAttributiFashion", "1"}, {"EntitaAttributiArticolo", "0"},
        {"CartellaLog", "logs/"},        {"CodiceStrutturato", "0"},   {"DatiProduzione", "1"},
        {"DatiProgetto", "0"},           {"DescrizioneUtente", "Amministratore"}};
    std::map<std::string, std::string> actual;
    for (const auto& row : Rows("SELECT AG00_CHIAVE, AG00_VALORE FROM AG00_IMPOSTAZIONI WHERE AG00_DITTA_CG18 = 1"))
        actual[Text(row[0])] = Text(row[1]);
    EXPECT_EQ(actual, expected);

    const auto fashion = Rows("SELECT FA00_FLGGESTIONE, FA00_INDRAGGR FROM FA00_PARAMETRI WHERE FA00_DITTA_CG18 = 1");
    ASSERT_EQ(fashion.size(), 1u);
    EXPECT_EQ(fashion[0][0].CLng(), 1);
    EXPECT_EQ(fashion[0][1].CLng(), 1);
    EXPECT_EQ(Value("SELECT PD42_FLGCICLOCODART FROM PD42_PARGEST WHERE PD42_DITTA_CG18 = 1").CLng(), 1);
    EXPECT_EQ(Count("MG6F_DIMEART"), 0) << "free article codes of 25 characters";
}

TEST_F(DemoBuilderTest, LookupsNamedByArticlesExist) {
    Build();
    EXPECT_EQ(Count("MG52_LINGUE WHERE MG52_CODICE IN (' ', 'EN', 'DE', 'FR')"), 4);
    EXPECT_EQ(Count("FA03_TIPIPRODOTTO WHERE FA03_CODICE IN ('PF', 'TS')"), 2);
    EXPECT_EQ(Count("CG44_CLIFOR WHERE CG44_TIPOCF = 0"), 3);
    EXPECT_EQ(Count("CG44_CLIFOR WHERE CG44_TIPOCF = 1"), 4);
    EXPECT_EQ(Count("MG5T_STAGIONI WHERE MG5T_CODICE IN ('PE2025', 'AI2025', 'PE2026')"), 3);
    // Every code an article or link row uses is in its lookup table.
    const char* dangling[] = {
        "FA12_ARTICOLI WHERE FA12_TIPO_FA03 NOT IN (SELECT FA03_CODICE FROM FA03_TIPIPRODOTTO)",
        "FA12_ARTICOLI WHERE FA12_STAGIONE_MG5T NOT IN (SELECT MG5T_CODICE FROM MG5T_STAGIONI)",
        "FA12_ARTICOLI WHERE FA12_TIPOLOGIA_FA04 NOT IN (SELECT FA04_CODICE FROM FA04_TIPOLOGIE)",
        "FA13_ATTRIBUTI WHERE FA13_LINEA_FA05 NOT IN (SELECT FA05_CODICE FROM FA05_LINEE)",
        "FA13_ATTRIBUTI WHERE FA13_MARCHIO_FA06 NOT IN (SELECT FA06_CODICE FROM FA06_MARCHI)",
        "FA13_ATTRIBUTI WHERE FA13_ENTITA_FA11 NOT IN (SELECT FA11_ENTITA FROM FA11_ENTITA)",
        "MG66_ANAGRART WHERE MG66_FAM_MG53 NOT IN (SELECT MG53_CODICE FROM MG53_FAMIGLIE)",
        "MG73_ARTCLIFOR WHERE MG73_CLIFOR_CG44 NOT IN (SELECT CG44_CLIFOR FROM CG44_CLIFOR "
        "WHERE CG44_TIPOCF = MG73_TIPOCF_CG44)",
        "MG87_ARTDESC WHERE MG87_LINGUA_MG52 NOT IN (SELECT MG52_CODICE FROM MG52_LINGUE)",
        "PD96_LEGAMIDISBA WHERE PD96_COMPON NOT IN (SELECT MG66_CODART FROM MG66_ANAGRART)",
        "FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 NOT IN (SELECT FA12_CODART_MG66 FROM FA12_ARTICOLI "
        "WHERE FA12_TIPO_FA03 = 'TS')",
        "FA64_AGGANCIDET WHERE FA64_STAGIONE_MG5T NOT IN (SELECT MG5T_IDSTAGIONE FROM MG5T_STAGIONI)",
        "MG6B_GESVARART WHERE MG6B_CODRAGGVAR_MG5G NOT IN (SELECT MG5G_CODRAGGVAR FROM MG5G_RAGGVAR "
        "WHERE MG5G_CODICEVAR_MG5F = MG6B_CODICEVAR_MG5F)",
    };
    for (const char* sql : dangling) EXPECT_EQ(Count(sql), 0) << sql;
}

// ---------------------------------------------------------------------------------------------------
// MODELLO01
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, MainModelHasRowsInEveryTableADuplicationReads) {
    Build();
    struct Expectation {
        const char* table;
        const char* condition;
        long rows;
    };
    const Expectation expectations[] = {
        {"MG66_ANAGRART", "", 1},
        {"MG87_ARTDESC", "MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '", 1},
        {"MG87_ARTDESC", "MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 <> ' '", 3},
        {"MG69_UBICAZART", "MG69_OPZIONE_MG5E = ' '", 2},
        {"MG65_BARCODE", "MG65_OPZIONE_MG5E = ' '", 3},
        {"MG73_ARTCLIFOR", "MG73_OPZIONE_MG5E = ' ' AND MG73_TIPOCF_CG44 = 0", 2},
        {"MG73_ARTCLIFOR", "MG73_OPZIONE_MG5E = ' ' AND MG73_TIPOCF_CG44 = 1", 1},
        {"MG6C_ANAGRARTAGE", "", 2},
        {"MG4G_ANAGRLOTTI", "MG4G_OPZIONE_MG5E = ' '", 2},
        {"MG4N_ARTTRALIM", "", 2},
        {"MG4P_LOTTRALIM", "MG4P_OPZIONE_MG5E = ' '", 3},
        {"SC06_ARTSCORTE", "SC06_OPZIONE_MG5E = ' '", 1},
        {"MG68_CONFART", "", 2},
        {"MG67_SCORTE", "", 2},
        {"MG84_ARTALTER", "", 1},
        {"MG85_ARTSOST", "", 1},
        {"MG86_ARTCONC", "", 1},
        {"MG92_ARTPACKL", "", 1},
        {"MG7A_UBICAZARTFIX", "", 1},
        {"LI10_LISTARTIC", "LI10_FLGVENACQ = 0", 2},
        {"LI10_LISTARTIC", "LI10_FLGVENACQ = 1", 1},
        {"LI11_ULTPRACQVEN", "LI11_FLGVENACQ = 0", 2},
        {"LI11_ULTPRACQVEN", "LI11_FLGVENACQ = 1", 1},
        {"MG72_APPLICART", "", 2},
        {"MG43_ARTPERS", "", 3},
        {"MG98_MAGINTRA", "", 1},
        {"MG6M_PARAMARTLOTTI", "", 1},
        {"PK07_ARTIMB", "", 2},
        {"MG6B_GESVARART", "", 3},
        {"MG6D_FLGTABARTVAR", "", 1},
        {"FA10_ARTLAVAGGI", "FA10_OPZIONE_MG5E = ''", 3},
        {"FA12_ARTICOLI", "FA12_OPZIONE_MG5E = ''", 1},
        {"FA37_ASSARTITIPOCOMP", "FA37_OPZIONE_MG5E = ''", 2},
        {"FA25_STORICOSTAGIONI", "", 1},
        {"PD18_ARTPROD", "PD18_OPZIONE = ' '", 1},
        {"PD27_ANAFORMULE", "PD27_OPZIONE = ' '", 2},
        {"PD95_DISBA", "PD95_OPZIONE = ' ' AND PD95_TIPO_DISTINTA = 0", 1},
        {"FA63_AGGANCI", "", 1},
    };
    for (const Expectation& e : expectations) {
        EXPECT_EQ(ArticleRows(e.table, "MODELLO01", e.condition), e.rows) << e.table << " " << e.condition;
    }
    // Tables reached through another row.
    EXPECT_EQ(Count("PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = 1 AND PD52_CODICE = 'MODELLO01'"), 2);
    EXPECT_EQ(Count("PD53_CICLIFASI WHERE PD53_DITTA_CG18 = 1 AND PD53_CODICE_PD52 = 'MODELLO01'"), 7);
    EXPECT_EQ(Count("PD96_LEGAMIDISBA INNER JOIN PD95_DISBA ON PD95_IDDISBA = PD96_IDDISBA_PD95 "
                    "WHERE PD95_CODART_MG66 = 'MODELLO01'"),
              6);
    EXPECT_EQ(Count("AG01_ALLEGATI INNER JOIN PD52_ANAGCICLI ON PD52_GUID = AG01_GUIDRIF "
                    "WHERE PD52_CODICE = 'MODELLO01'"),
              4);  // two attachments on each version
}

TEST_F(DemoBuilderTest, MainModelRowsADuplicationMustLeaveBehind) {
    Build();
    EXPECT_EQ(ArticleRows("MG87_ARTDESC", "MODELLO01", "MG87_OPZIONE_MG5E = 'BIA'"), 1);
    EXPECT_EQ(ArticleRows("MG65_BARCODE", "MODELLO01", "MG65_OPZIONE_MG5E = 'BIA'"), 1);
    EXPECT_EQ(ArticleRows("MG65_BARCODE", "MODELLO01", "MG65_TIPOBARCODE_MG4B = 3"), 1) << "typed by hand";
    // Attributes of the English description and of entity 1 besides the standard ones.
    const auto attributes = Rows(
        "SELECT MG87_LINGUA_MG52, FA13_ENTITA_FA11, FA13_LINEA_FA05, FA13_MARCHIO_FA06 FROM FA13_ATTRIBUTI "
        "INNER JOIN MG87_ARTDESC ON MG87_GUID = FA13_GUID WHERE MG87_CODART_MG66 = 'MODELLO01' "
        "ORDER BY MG87_LINGUA_MG52, FA13_ENTITA_FA11");
    ASSERT_EQ(attributes.size(), 3u);
    EXPECT_EQ(Text(attributes[0][0]), " ");
    EXPECT_EQ(attributes[0][1].CLng(), 0);
    EXPECT_EQ(Text(attributes[0][2]), "UOMO-CLASSIC");
    EXPECT_EQ(Text(attributes[0][3]), "ALTA-SARTORIA");
    EXPECT_EQ(attributes[1][1].CLng(), 1);
    EXPECT_EQ(Text(attributes[2][0]), "EN");
    EXPECT_EQ(attributes[2][1].CLng(), 0);
}

TEST_F(DemoBuilderTest, MainModelDescriptionsCarryNotesOnlyWhereGiven) {
    Build();
    const auto rows = Rows("SELECT MG87_LINGUA_MG52, MG87_NOTEART, MG87_GUID FROM MG87_ARTDESC "
                           "WHERE MG87_CODART_MG66 = 'MODELLO01' AND MG87_OPZIONE_MG5E = ' ' "
                           "ORDER BY MG87_LINGUA_MG52");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(Text(rows[0][1]), "Modello base della collezione PE2025");
    EXPECT_EQ(Text(rows[1][0]), "DE");
    EXPECT_TRUE(rows[1][1].IsNull());
    EXPECT_EQ(Text(rows[2][0]), "EN");
    EXPECT_EQ(Text(rows[2][1]), "Wash inside out");
    EXPECT_EQ(Text(rows[3][1]), "Laver à l'envers");
    for (const auto& row : rows) EXPECT_EQ(Text(row[2]).size(), 36u);
}

TEST_F(DemoBuilderTest, MainModelStockDataDifferFromTheDefaultsACopyKeeps) {
    Build();
    // Every location quantity of the main location is non-zero: a copy that zeroes them shows.
    const auto location = Rows(
        "SELECT MG69_QTA1UBICEFF, MG69_QTA1ATTESACAR, MG69_QTA1ATTESASCA, MG69_QTA2UBICEFF, MG69_QTA2ATTESACAR, "
        "MG69_QTA2ATTESASCA, MG69_COLLIUBICEFF, MG69_COLLIATTESACAR, MG69_COLLIATTESASCA FROM MG69_UBICAZART "
        "WHERE MG69_CODART_MG66 = 'MODELLO01' AND MG69_MAGAZZINO = 'MAG01'");
    ASSERT_EQ(location.size(), 1u);
    for (const auto& quantity : location[0]) EXPECT_NE(quantity.CDbl(), 0.0);

    // The stock levels against a row that took every default.
    const std::string levels =
        "SC06_SCORMIN, SC06_CONSPEROSS, SC06_CONSPERANAL, SC06_CONSGGANAL, SC06_CONSMEDIO, SC06_SCORMAX, "
        "SC06_LEADTIME, SC06_TRAND, SC06_RAPPMEDIE, SC06_INDTRAND, SC06_LOTTRIORD, SC06_SCORSIC, SC06_LIVRIORD, "
        "SC06_DAANNOVIS, SC06_AANNOVIS, SC06_DAPERVIS, SC06_APERVIS";
    c_->Execute("INSERT INTO SC06_ARTSCORTE (SC06_DITTA_CG18, SC06_CODART_MG66) VALUES (1, 'DEFAULTS')");
    const auto model = Rows("SELECT " + levels + " FROM SC06_ARTSCORTE WHERE SC06_CODART_MG66 = 'MODELLO01'");
    const auto defaults = Rows("SELECT " + levels + " FROM SC06_ARTSCORTE WHERE SC06_CODART_MG66 = 'DEFAULTS'");
    ASSERT_EQ(model.size(), 1u);
    ASSERT_EQ(defaults.size(), 1u);
    ASSERT_EQ(model[0].size(), 17u);
    for (std::size_t i = 0; i < 17; ++i) EXPECT_NE(model[0][i].CDbl(), defaults[0][i].CDbl()) << "level " << i;
}

TEST_F(DemoBuilderTest, MainModelCycleHasTwoVersionsAndAttachments) {
    Build();
    EXPECT_EQ(Text(Value("SELECT PD18_CODCICLO FROM PD18_ARTPROD WHERE PD18_CODART_MG66 = 'MODELLO01'")),
              "MODELLO01");
    const auto versions = Rows("SELECT PD52_VERSIONE, COUNT(*) FROM PD52_ANAGCICLI INNER JOIN PD53_CICLIFASI "
                               "ON PD53_CODICE_PD52 = PD52_CODICE AND PD53_VERSIONE_PD52 = PD52_VERSIONE "
                               "WHERE PD52_CODICE = 'MODELLO01' GROUP BY PD52_VERSIONE ORDER BY PD52_VERSIONE");
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0][0].CLng(), 2);
    EXPECT_EQ(versions[0][1].CLng(), 3);
    EXPECT_EQ(versions[1][0].CLng(), 5);
    EXPECT_EQ(versions[1][1].CLng(), 4);
    EXPECT_EQ(Count("(SELECT DISTINCT AG01_GUIDRIF FROM AG01_ALLEGATI) AS A"), 2) << "one per cycle version";
}

TEST_F(DemoBuilderTest, MainFabricIsFoundOnTheModelBillAsTheLinksFormLooksItUp) {
    Build();
    const auto lines = Rows(
        "SELECT PD96_COMPON, MG87_DESCART, PD96_SEQCOMP, PD96_QTA1 FROM PD95_DISBA "
        "INNER JOIN PD96_LEGAMIDISBA ON PD95_DISBA.PD95_IDDISBA = PD96_LEGAMIDISBA.PD96_IDDISBA_PD95 "
        "INNER JOIN FA12_ARTICOLI ON FA12_DITTA_CG18 = PD95_DITTA_CG18 AND FA12_CODART_MG66 = PD96_COMPON "
        "AND FA12_OPZIONE_MG5E = '' "
        "INNER JOIN MG87_ARTDESC ON MG87_DITTA_CG18 = FA12_DITTA_CG18 AND MG87_CODART_MG66 = FA12_CODART_MG66 "
        "AND MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = '' "
        "WHERE PD95_DITTA_CG18 = 1 AND PD95_CODART_MG66 = 'MODELLO01' AND PD95_OPZIONE = '' AND PD96_OPZIONE = '' "
        "AND PD95_TIPO_DISTINTA = 0 AND FA12_TIPO_FA03 = 'TS'");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Text(lines[0][0]), "TS-COTONE-BIANCO");
    EXPECT_EQ(Text(lines[0][1]), "Popeline di cotone bianco");
    EXPECT_EQ(lines[0][2].CLng(), 10);
    EXPECT_DOUBLE_EQ(lines[0][3].CDbl(), 1.65);
    EXPECT_EQ(Value("SELECT FA63_SEQUENZA FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO01'").CLng(), 10);
}

// ---------------------------------------------------------------------------------------------------
// Variants and fabrics
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, VariantsAndGroupingsKeepTheirOrder) {
    Build();
    EXPECT_EQ(Count("MG5F_DIMECONF WHERE MG5F_CODICEVAR IN ('COL', 'TAG', 'VES') AND MG5F_INDPROGCONFIG = 0"), 3);
    std::vector<std::string> options;
    for (const auto& row : Rows("SELECT MG5H_OPZIONE_MG5E FROM MG5H_COMPRAGVAR WHERE MG5H_CODICEVAR_MG5F = 'COL' "
                                "AND MG5H_RAGGR_MG5G = 'COL-BASE' ORDER BY MG5H_SEQOPZIONE"))
        options.push_back(Text(row[0]));
    EXPECT_EQ(options, (std::vector<std::string>{"BIA", "BLU", "NER"}));
    EXPECT_EQ(Count("MG5H_COMPRAGVAR WHERE MG5H_OPZIONE_MG5E NOT IN (SELECT MG5E_OPZIONE FROM MG5E_OPZIONI "
                    "WHERE MG5E_CODICEVAR_MG5F = MG5H_CODICEVAR_MG5F)"),
              0);
    EXPECT_EQ(Text(Value("SELECT MG5G_DESCRRAGGVAR FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = 'LINO-BLU'")),
              "LINO-BLU");

    const auto model = Rows("SELECT MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR, MG6B_CODRAGGVAR_MG5G FROM MG6B_GESVARART "
                            "WHERE MG6B_CODART_MG66 = 'MODELLO01' ORDER BY MG6B_SEQ");
    ASSERT_EQ(model.size(), 3u);
    EXPECT_EQ(Text(model[0][0]), "COL");
    EXPECT_EQ(Text(model[1][0]), "TAG");
    EXPECT_EQ(Text(model[1][2]), "TAG-CAM");
    EXPECT_EQ(Text(model[2][0]), "VES");
    EXPECT_EQ(Value("SELECT MG66_FLGVARART FROM MG66_ANAGRART WHERE MG66_CODART = 'MODELLO01'").CLng(), 1);
}

TEST_F(DemoBuilderTest, FabricsCoverEveryCaseOfTheColourFromFabricRule) {
    Build();
    const auto rows = Rows("SELECT FA12_CODART_MG66, MG6B_FLGGESTVAR, MG6B_CODRAGGVAR_MG5G FROM FA12_ARTICOLI "
                           "INNER JOIN MG6B_GESVARART ON MG6B_DITTA_CG18 = FA12_DITTA_CG18 "
                           "AND MG6B_CODART_MG66 = FA12_CODART_MG66 AND MG6B_CODICEVAR_MG5F = 'COL' "
                           "WHERE FA12_TIPO_FA03 = 'TS' ORDER BY FA12_CODART_MG66");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(Text(rows[0][0]), "TS-COTONE-BIANCO");
    EXPECT_EQ(Text(rows[0][2]), "COL-BASE");
    EXPECT_EQ(Text(rows[1][0]), "TS-DENIM-BLU");
    EXPECT_EQ(Text(rows[1][2]), "COL-INVERNO");
    EXPECT_EQ(Text(rows[2][0]), "TS-LANA-GRIGIA");
    EXPECT_EQ(rows[2][1].CLng(), 1);
    EXPECT_TRUE(rows[2][2].IsNull()) << "active without a grouping";
    EXPECT_EQ(Text(rows[3][0]), "TS-LINO-BLU");
    EXPECT_EQ(Text(rows[3][2]), "LINO-BLU");
    EXPECT_EQ(Text(rows[4][0]), "TS-SETA-ROSSA");
    EXPECT_EQ(rows[4][1].CLng(), 0) << "inactive";
    EXPECT_EQ(Text(rows[5][0]), "TS-TWILL-NERO");
    EXPECT_EQ(Text(rows[5][2]), "COL-BASE");
    for (const auto& row : rows) {
        EXPECT_EQ(ArticleRows("MG66_ANAGRART", Text(row[0])), 1);
        EXPECT_EQ(ArticleRows("MG87_ARTDESC", Text(row[0]), "MG87_LINGUA_MG52 = ' '"), 1);
    }
}

// ---------------------------------------------------------------------------------------------------
// Barcodes
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, BarcodeTypesCoverAutomaticAndManualNumbering) {
    Build();
    const auto types = Rows("SELECT MG4B_INDBARCODE, MG4B_STINDMODALITA, MG4B_STFLGCHECKDIG, MG4B_STULTNUMDA, "
                            "MG4B_STULTNUMA FROM MG4B_PARMAGBARCODE ORDER BY MG4B_INDBARCODE");
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[0][1].CLng(), 2);
    EXPECT_EQ(types[0][2].CLng(), 1);
    EXPECT_LT(types[0][3].CLng(), types[0][4].CLng());
    EXPECT_EQ(types[1][1].CLng(), 2);
    EXPECT_EQ(types[1][2].CLng(), 0);
    EXPECT_EQ(types[2][1].CLng(), 1);

    const auto model = Rows("SELECT MG65_TIPOBARCODE_MG4B FROM MG65_BARCODE WHERE MG65_CODART_MG66 = 'MODELLO01' "
                            "AND MG65_OPZIONE_MG5E = ' ' ORDER BY MG65_TIPOBARCODE_MG4B");
    ASSERT_EQ(model.size(), 3u);
    for (long i = 0; i < 3; ++i) EXPECT_EQ(model[i][0].CLng(), i + 1);
}

TEST_F(DemoBuilderTest, BarcodeNumberingIsAheadOfEveryCodeInUse) {
    Build(5);
    for (long type : {1L, 2L}) {
        SCOPED_TRACE(type);
        const auto parameters = Rows("SELECT MG4B_PREFISSO, MG4B_LUNGHEZZA, MG4B_STFLGCHECKDIG, MG4B_STULTNUMDA, "
                                     "MG4B_STULTNUMA FROM MG4B_PARMAGBARCODE WHERE MG4B_INDBARCODE = " +
                                     std::to_string(type));
        ASSERT_EQ(parameters.size(), 1u);
        const std::string prefix = Text(parameters[0][0]);
        const std::size_t length = static_cast<std::size_t>(parameters[0][1].CLng());
        const bool checkDigit = parameters[0][2].CLng() == 1;
        const long lowest = parameters[0][3].CLng(), highest = parameters[0][4].CLng();
        EXPECT_LT(lowest, highest);
        EXPECT_LE(highest, 32767) << "the bounds are 16-bit";

        // Every code of the numbering is prefix + zero-padded number (+ check digit), the number in bounds.
        long last = 0, numbered = 0;
        for (const auto& row : Rows("SELECT MG65_CODBARCODE FROM MG65_BARCODE WHERE MG65_TIPOBARCODE_MG4B = " +
                                    std::to_string(type))) {
            const std::string code = Text(row[0]);
            ASSERT_EQ(code.size(), length) << code;
            if (code.compare(0, prefix.size(), prefix) != 0) continue;  // taken over from an earlier numbering
            const long number = std::stol(code.substr(prefix.size(), length - prefix.size() - (checkDigit ? 1 : 0)));
            EXPECT_GE(number, lowest) << code;
            EXPECT_LE(number, highest) << code;
            if (checkDigit) {
                EXPECT_EQ(code[12], Ean13CheckDigit(code)) << code;
            }
            last = std::max(last, number);
            ++numbered;
        }
        EXPECT_GT(numbered, 0);
        EXPECT_EQ(Value("SELECT MG4C_ULTNUM FROM MG4C_NUMBARCODE WHERE MG4C_INDTIPOGEST = 0 AND "
                        "MG4C_TIPOBARCODE_MG4B = " + std::to_string(type))
                      .CLng(),
                  last);
    }
    // The generated articles' internal codes stay out of the numbering.
    EXPECT_EQ(Count("MG65_BARCODE WHERE MG65_TIPOBARCODE_MG4B = 2 AND MG65_CODBARCODE LIKE '21%'"), 5);
}

// ---------------------------------------------------------------------------------------------------
// Links
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, LinkRowsCarryTheDataOfTheArticlesToGenerate) {
    Build();
    const auto headers = Rows("SELECT FA63_CODART_MG66, FA63_PREFISSO, FA63_TSPRINCIPALE, FA63_GUID FROM FA63_AGGANCI "
                              "WHERE FA63_DITTA_CG18 = 1 ORDER BY FA63_CODART_MG66");
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_EQ(Text(headers[0][0]), "MODELLO01");
    EXPECT_EQ(Text(headers[0][1]), "AG");
    EXPECT_EQ(Text(headers[0][2]), "TS-COTONE-BIANCO");
    EXPECT_EQ(Text(headers[1][0]), "MODELLO02");
    EXPECT_EQ(Text(headers[1][1]), "");
    EXPECT_EQ(Text(headers[2][0]), "MODELLO04");
    EXPECT_EQ(Text(headers[2][1]), "DN");
    EXPECT_EQ(ArticleRows("FA63_AGGANCI", "MODELLO03"), 0);

    const auto rows = Rows(
        "SELECT FA64_CODTESS_FA12, FA64_DESCRIZIONE, FA64_DESCRESTESA, FA64_QTA1DIBA, MG5T_CODICE, FA64_LINEA_FA05, "
        "FA64_MARCHIO_FA06, FA64_TIPOLOGIA_FA04, FA64_ARTAGGANCIO_MG66 FROM FA64_AGGANCIDET "
        "LEFT JOIN MG5T_STAGIONI ON MG5T_IDSTAGIONE = FA64_STAGIONE_MG5T "
        "WHERE FA64_GUID_FA63 = '" + Text(headers[0][3]) + "' ORDER BY FA64_CODTESS_FA12");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Text(rows[0][0]), "TS-LANA-GRIGIA");
    EXPECT_EQ(Text(rows[1][0]), "TS-LINO-BLU");
    EXPECT_EQ(Text(rows[1][1]), "Camicia uomo lino blu");
    EXPECT_EQ(Text(rows[1][2]), "Camicia uomo in tela di lino blu, collo francese");
    EXPECT_DOUBLE_EQ(rows[1][3].CDbl(), 1.7);
    EXPECT_EQ(Text(rows[1][4]), "PE2025");
    EXPECT_EQ(Text(rows[1][5]), "UOMO-CLASSIC");
    EXPECT_EQ(Text(rows[1][6]), "ALTA-SARTORIA");
    EXPECT_EQ(Text(rows[1][7]), "CAMICIA");
    EXPECT_EQ(Text(rows[2][0]), "TS-SETA-ROSSA");
    for (const auto& row : rows) {
        EXPECT_TRUE(row[8].IsNull()) << "not generated yet";
        // Prefix + model + fabric fits the 25 characters of a free article code.
        EXPECT_LE(("AGMODELLO01" + Text(row[0])).size(), 25u);
    }

    const auto second = Rows("SELECT FA64_CODTESS_FA12, FA64_STAGIONE_MG5T, FA64_TIPOLOGIA_FA04 FROM FA64_AGGANCIDET "
                             "WHERE FA64_GUID_FA63 = '" + Text(headers[1][3]) + "'");
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(Text(second[0][0]), "TS-LINO-BLU");
    EXPECT_TRUE(second[0][1].IsNull()) << "season left to the model";
    EXPECT_TRUE(second[0][2].IsNull()) << "typology left to the model";
}

// ---------------------------------------------------------------------------------------------------
// Families and generated articles
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, FamilyArticlesHaveWhatMassDuplicationCopies) {
    Build();
    EXPECT_EQ(Count("MG66_ANAGRART WHERE MG66_FAM_MG53 = 'CAM' AND MG66_CODART LIKE 'CAM-1%'"), 6);
    EXPECT_EQ(Count("MG66_ANAGRART WHERE MG66_FAM_MG53 = 'PAN' AND MG66_CODART LIKE 'PAN-2%'"), 4);
    for (const char* code : {"CAM-100", "CAM-105", "PAN-200", "PAN-203"}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(ArticleRows("MG87_ARTDESC", code, "MG87_LINGUA_MG52 = ' '"), 1);
        EXPECT_EQ(ArticleRows("FA12_ARTICOLI", code), 1);
        EXPECT_EQ(ArticleRows("MG65_BARCODE", code), 2);
        EXPECT_EQ(ArticleRows("MG6B_GESVARART", code), 3);
        EXPECT_EQ(ArticleRows("SC06_ARTSCORTE", code), 1);
        EXPECT_EQ(ArticleRows("PD95_DISBA", code), 1);
    }
}

TEST_F(DemoBuilderTest, GeneratedArticlesHaveFullSatelliteData) {
    EXPECT_EQ(Build(20), "46 articles (20 generated), 6 fabrics, 3 link headers with 7 rows, company 1");
    EXPECT_EQ(Text(Value("SELECT MIN(MG66_CODART) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'BENCH-%'")),
              "BENCH-000001");
    EXPECT_EQ(Text(Value("SELECT MAX(MG66_CODART) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'BENCH-%'")),
              "BENCH-000020");
    struct PerArticle {
        const char* table;
        long rows;
    };
    const PerArticle perArticle[] = {
        {"MG66_ANAGRART", 1},  {"MG87_ARTDESC", 3},  {"MG69_UBICAZART", 2}, {"MG65_BARCODE", 2},
        {"MG73_ARTCLIFOR", 2}, {"MG6B_GESVARART", 3}, {"MG6D_FLGTABARTVAR", 1}, {"MG4G_ANAGRLOTTI", 2},
        {"SC06_ARTSCORTE", 1}, {"FA12_ARTICOLI", 1}, {"PD18_ARTPROD", 1},   {"PD95_DISBA", 1},
    };
    for (const PerArticle& p : perArticle) {
        const std::string prefix = std::string(p.table).substr(0, 4);
        const std::string article = prefix == "MG66" ? "MG66_CODART" : prefix + "_CODART_MG66";
        EXPECT_EQ(Count(std::string(p.table) + " WHERE " + prefix + "_DITTA_CG18 = 1 AND " + article +
                        " LIKE 'BENCH-%'"),
                  20 * p.rows)
            << p.table;
    }
    EXPECT_EQ(Count("FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC ON MG87_GUID = FA13_GUID AND FA13_ENTITA_FA11 = 0 "
                    "WHERE MG87_CODART_MG66 LIKE 'BENCH-%' AND MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '"),
              20);
    EXPECT_EQ(Count("PD52_ANAGCICLI WHERE PD52_CODICE LIKE 'BENCH-%'"), 20);
    EXPECT_EQ(Count("PD53_CICLIFASI WHERE PD53_CODICE_PD52 LIKE 'BENCH-%'"), 60);
    const auto lines = Rows("SELECT COUNT(*) FROM PD96_LEGAMIDISBA INNER JOIN PD95_DISBA "
                            "ON PD95_IDDISBA = PD96_IDDISBA_PD95 WHERE PD95_CODART_MG66 LIKE 'BENCH-%' "
                            "GROUP BY PD95_IDDISBA");
    ASSERT_EQ(lines.size(), 20u);
    for (const auto& bill : lines) EXPECT_EQ(bill[0].CLng(), 10);
    EXPECT_EQ(Text(Value("SELECT PD18_CODCICLO FROM PD18_ARTPROD WHERE PD18_CODART_MG66 = 'BENCH-000007'")),
              "BENCH-000007");
}

TEST_F(DemoBuilderTest, EveryRowBelongsToTheChosenCompany) {
    EXPECT_EQ(Build(3, 7), "29 articles (3 generated), 6 fabrics, 3 link headers with 7 rows, company 7");
    EXPECT_EQ(Count("MG66_ANAGRART WHERE MG66_DITTA_CG18 <> 7"), 0);
    EXPECT_EQ(Count("FA13_ATTRIBUTI WHERE FA13_DITTA_CG18 <> 7"), 0);
    EXPECT_EQ(Count("PD96_LEGAMIDISBA WHERE PD96_DITTA_CG18 <> 7"), 0);
    EXPECT_EQ(Count("AG00_IMPOSTAZIONI WHERE AG00_DITTA_CG18 = 7"), 8);
}

// ---------------------------------------------------------------------------------------------------
// Failures
// ---------------------------------------------------------------------------------------------------

TEST_F(DemoBuilderTest, AFailureLeavesAnEmptyDatabase) {
    c_->Faults().FailMatching("INSERT INTO FA64_AGGANCIDET");
    EXPECT_THROW(Build(), db::Error);
    EXPECT_EQ(c_->TransactionLevel(), 0);
    // Nothing of the first attempt is left: not even the tables, so the demo builds again from scratch.
    EXPECT_EQ(Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name LIKE 'MG66%'").CLng(), 0);
    EXPECT_EQ(Build(), "26 articles, 6 fabrics, 3 link headers with 7 rows, company 1");
}

TEST_F(DemoBuilderTest, ACountOfGeneratedArticlesOutOfRangeIsRefusedBeforeAnythingIsWritten) {
    EXPECT_THROW(Build(-1), std::invalid_argument);
    EXPECT_THROW(Build(1000000), std::invalid_argument);
    EXPECT_EQ(c_->TransactionLevel(), 0);
    EXPECT_EQ(Build(), "26 articles, 6 fabrics, 3 link headers with 7 rows, company 1");
}

TEST_F(DemoBuilderTest, SchemaAloneCreatesEveryTableEmpty) {
    erp::CreateSchema(*c_);
    EXPECT_EQ(Count("MG66_ANAGRART"), 0);
    EXPECT_EQ(Count("FA64_AGGANCIDET"), 0);
    EXPECT_EQ(c_->TransactionLevel(), 0);
    EXPECT_THROW(erp::CreateSchema(*c_), db::Error) << "the tables exist already";
}

}  // namespace
