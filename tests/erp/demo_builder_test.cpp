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

// ---------------------------------------------------------------------------------------------------
// Barcodes
// ---------------------------------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------------------------------
// Families and generated articles
// ---------------------------------------------------------------------------------------------------

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
