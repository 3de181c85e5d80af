// Generated articles for benchmarks, BENCH-000001 and on, each with the satellite data of a real model:
// three descriptions, two locations, two barcodes, a customer and a supplier code, three variants, two
// lots, stock parameters, fashion record and attributes, production data, a cycle of three phases and a
// bill of materials of ten lines. Every table is written by one INSERT ... SELECT over all the articles,
// so a hundred thousand articles take seconds, not hours.
#include "db/Quote.h"
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

constexpr int kCodeDigits = 6;

// A derived table NUMERI with the column N running from 1 to the next power of ten at or above count,
// made by crossing tables of digits (a recursive query would hit SQL Server's recursion limit).
std::string Numbers(long count) {
    std::string digits = "(SELECT 0 AS D";
    for (int d = 1; d <= 9; ++d) digits += " UNION ALL SELECT " + std::to_string(d);
    digits += ")";
    std::string number, from;
    long weight = 1;
    for (int level = 0; weight < count || level == 0; ++level, weight *= 10) {
        const std::string alias = "D" + std::to_string(level);
        number += (level ? " + " : "") + std::to_string(weight) + " * " + alias + ".D";
        from += (level ? " CROSS JOIN " : "") + digits + " " + alias;
    }
    return "(SELECT " + number + " + 1 AS N FROM " + from + ") NUMERI";
}

class BenchWriter {
public:
    explicit BenchWriter(Writer& w) : w_(w), company_(w.CompanySql()) {}

    void Articles(long count) {
        const std::string code = db::SqlText(kBenchPrefix) + " + RIGHT(" +
                                 db::SqlText(std::string(kCodeDigits, '0')) + " + CAST(NUMERI.N AS VARCHAR(" +
                                 std::to_string(kCodeDigits) + ")), " + std::to_string(kCodeDigits) + ")";
        // Odd numbers are shirts, even numbers trousers.
        w_.InsertSelect({"MG66_ANAGRART",
                         {{"MG66_DITTA_CG18", company_},
                          {"MG66_CODART", code},
                          {"MG66_FAM_MG53", "CASE WHEN NUMERI.N % 2 = 1 THEN 'CAM' ELSE 'PAN' END"},
                          {"MG66_GRUPPO_MG55", "CASE WHEN NUMERI.N % 2 = 1 THEN 'CLASS' ELSE 'CHINO' END"},
                          {"MG66_GRUSTAT1_MG74", "CASE WHEN NUMERI.N % 4 < 2 THEN 'PE' ELSE 'AI' END"}},
                         Numbers(count),
                         "NUMERI.N <= " + db::SqlNumber(db::Variant(count)),
                         {{"MG66_SFAM_MG54", "MG66_MARCA_MG64", "MG66_GRUSTAT2_MG75", "MG66_GRUSTAT3_MG76",
                           "MG66_GRUSTAT4_MG77", "MG66_GRUPFIS_MG61", "MG66_FLGVARART", "MG66_UM1", "MG66_PESONETTO"},
                          {{"UOMO", "URBAN", "CONTINUATIVO", "FASCIA-B", "ITALIA", "IVA22", 1, "PZ", 0.3}}}});
    }

    void Descriptions() {
        const std::pair<const char*, const char*> languages[] = {{" ", "Capo di prova "}, {"EN", "Test garment "},
                                                                 {"DE", "Testartikel "}};
        for (const auto& [language, text] : languages) {
            PerArticle("MG87_ARTDESC", {{"MG87_DESCART", db::SqlText(text) + " + MG66_CODART"}},
                       {{"MG87_OPZIONE_MG5E", "MG87_LINGUA_MG52", "MG87_NOTEART"},
                        {{kWarehouseOption, language,
                          std::string(language) == "EN" ? db::Variant("Generated for benchmarks") : kNull}}});
        }
    }

    void Warehouse(Barcodes& barcodes) {
        PerArticle("MG69_UBICAZART", {},
                   {{"MG69_OPZIONE_MG5E", "MG69_MAGAZZINO", "MG69_UBICAZIONE", "MG69_QTA1UBICEFF", "MG69_QTA1ATTESACAR",
                     "MG69_COLLIUBICEFF"},
                    {{kWarehouseOption, "MAG01", "E-01-01", 40, 10, 4}, {kWarehouseOption, "MAG02", "F-02-03", 12, 0, 1}}});
        barcodes.AddTakenOverCodes("MG66_ANAGRART", BenchArticles(), "MG66_CODART",
                                   "CAST(RIGHT(MG66_CODART, " + std::to_string(kCodeDigits) + ") AS INT)");
        barcodes.AddManualCodes("MG66_ANAGRART", BenchArticles(), "MG66_CODART", "'M-' + MG66_CODART");
        PerArticle("MG73_ARTCLIFOR",
                   {{"MG73_ARTCLIFOR", "CASE WHEN V.MG73_TIPOCF_CG44 = 0 THEN 'BMM-' ELSE 'CA-' END + MG66_CODART"}},
                   {{"MG73_OPZIONE_MG5E", "MG73_TIPOCF_CG44", "MG73_CLIFOR_CG44", "MG73_UM"},
                    {{kWarehouseOption, 0, 1001, "PZ"}, {kWarehouseOption, 1, 2004, "PZ"}}});
        PerArticle("MG4G_ANAGRLOTTI", {},
                   {{"MG4G_OPZIONE_MG5E", "MG4G_CODLOTTO", "MG4G_DESCR", "MG4G_DTPRODUZIONE"},
                    {{kWarehouseOption, "L2025-001", "Lotto gennaio", Day(2025, 1, 20)},
                     {kWarehouseOption, "L2025-002", "Lotto marzo", Day(2025, 3, 10)}}});
        PerArticle("SC06_ARTSCORTE", {}, StockParameters(10, 120, 30, 2004));
    }

    void Variants() {
        PerArticle("MG6B_GESVARART", {},
                   {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                    {{kColourVariant, 1, "COL-BASE", 1}, {kSizeVariant, 1, "TAG-CAM", 2}, {kFitVariant, 0, kNull, 3}}});
        PerArticle("MG6D_FLGTABARTVAR", {},
                   {{"MG6D_FLGDESCR", "MG6D_FLGBARCODE", "MG6D_FLGLISTINI", "MG6D_FLGSCORTE"}, {{1, 1, 0, 1}}});
    }

    void Fashion() {
        PerArticle("FA12_ARTICOLI",
                   {{"FA12_TIPOLOGIA_FA04", "CASE WHEN MG66_FAM_MG53 = 'CAM' THEN 'CAMICIA' ELSE 'PANTALONE' END"}},
                   {{"FA12_OPZIONE_MG5E", "FA12_TIPO_FA03", "FA12_STAGIONE_MG5T", "FA12_COMPOSIZIONE"},
                    {{kFashionOption, "PF", "PE2025", "100% cotone"}}});
        w_.InsertSelect({"FA13_ATTRIBUTI",
                         {{"FA13_GUID", "MG87_GUID"}, {"FA13_DITTA_CG18", "MG87_DITTA_CG18"}},
                         "MG87_ARTDESC",
                         "MG87_DITTA_CG18 = " + company_ + " AND MG87_CODART_MG66 LIKE " + BenchPattern() +
                             " AND MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '",
                         {{"FA13_ENTITA_FA11", "FA13_LINEA_FA05", "FA13_MARCHIO_FA06", "FA13_GENERE"},
                          {{0, "UOMO-SPORT", "URBAN", "UOMO"}}}});
    }

    void Production() {
        PerArticle("PD18_ARTPROD", {{"PD18_CODCICLO", "MG66_CODART"}},
                   {{"PD18_OPZIONE", "PD18_TIPOPROD_PD10", "PD18_REPARTO", "PD18_LOTTOECON", "PD18_GGLAVORAZIONE"},
                    {{kWarehouseOption, "CONF", "CONF", 50, 4}}});
        w_.InsertSelect({"PD52_ANAGCICLI",
                         {{"PD52_DITTA_CG18", "MG66_DITTA_CG18"}, {"PD52_CODICE", "MG66_CODART"}},
                         "MG66_ANAGRART",
                         BenchArticles(),
                         {{"PD52_VERSIONE", "PD52_DESCR", "PD52_FLGATTIVO"}, {{1, "Ciclo capo di prova", 1}}}});
        w_.InsertSelect({"PD53_CICLIFASI",
                         {{"PD53_DITTA_CG18", "PD52_DITTA_CG18"},
                          {"PD53_CODICE_PD52", "PD52_CODICE"},
                          {"PD53_VERSIONE_PD52", "PD52_VERSIONE"}},
                         "PD52_ANAGCICLI",
                         "PD52_DITTA_CG18 = " + company_ + " AND PD52_CODICE LIKE " + BenchPattern(),
                         {{"PD53_NUMFASE", "PD53_DESCR", "PD53_REPARTO", "PD53_TEMPOSETUP", "PD53_TEMPOLAV"},
                          {{10, "Taglio", "TAGLIO", 0.5, 0.12}, {20, "Confezione", "CONF", 0.3, 0.45},
                           {30, "Stiro e controllo", "FINISS", 0.1, 0.08}}}});
    }

    void BillsOfMaterials() {
        PerArticle("PD95_DISBA", {},
                   {{"PD95_OPZIONE", "PD95_TIPO_DISTINTA", "PD95_CODICE_DB", "PD95_DESCR", "PD95_QTABASE", "PD95_UTENTE"},
                    {{kWarehouseOption, 0, "", "Distinta capo di prova", 1, "Amministratore"}}});
        w_.InsertSelect({"PD96_LEGAMIDISBA",
                         {{"PD96_DITTA_CG18", "PD95_DITTA_CG18"},
                          {"PD96_IDDISBA_PD95", "PD95_IDDISBA"},
                          {"PD96_OPZIONE", "PD95_OPZIONE"}},
                         "PD95_DISBA",
                         "PD95_DITTA_CG18 = " + company_ + " AND PD95_CODART_MG66 LIKE " + BenchPattern(),
                         {{"PD96_SEQCOMP", "PD96_COMPON", "PD96_QTA1", "PD96_UM", "PD96_PERCSCARTO"},
                          {{10, "TS-COTONE-BIANCO", 1.6, "MT", 3},
                           {20, "TS-LINO-BLU", 0.2, "MT", 3},
                           {30, "TS-SETA-ROSSA", 0.1, "MT", 3},
                           {40, "TS-LANA-GRIGIA", 0.1, "MT", 3},
                           {50, "ACC-BOTTONE-MADRE", 10, "PZ", 2},
                           {60, "ACC-FILO-COTONE", 170, "MT", 5},
                           {70, "ACC-ETICHETTA", 1, "PZ", 0},
                           {80, "ACC-INTERFODERA", 0.2, "MT", 4},
                           {90, "ACC-CARTELLINO", 1, "PZ", 0},
                           {100, "ACC-BUSTA", 1, "PZ", 0}}}});
    }

private:
    std::string BenchPattern() const { return db::SqlText(std::string(kBenchPrefix) + "%"); }
    std::string BenchArticles() const {
        return "MG66_DITTA_CG18 = " + company_ + " AND MG66_CODART LIKE " + BenchPattern();
    }

    // One statement: the values' rows for every bench article, company and article columns set from it.
    void PerArticle(const std::string& table, std::vector<std::pair<std::string, std::string>> computed,
                    const ValueTable& values) {
        computed.insert(computed.begin(), {{Writer::CompanyColumn(table), "MG66_DITTA_CG18"},
                                           {Writer::ArticleColumn(table), "MG66_CODART"}});
        w_.InsertSelect({table, computed, "MG66_ANAGRART", BenchArticles(), values});
    }

    Writer& w_;
    std::string company_;
};

}  // namespace

void AddBenchArticles(Writer& w, Barcodes& barcodes, long count) {
    if (count <= 0) return;
    BenchWriter bench(w);
    bench.Articles(count);
    bench.Descriptions();
    bench.Warehouse(barcodes);
    bench.Variants();
    bench.Fashion();
    bench.Production();
    bench.BillsOfMaterials();
}

}  // namespace erp::demo
