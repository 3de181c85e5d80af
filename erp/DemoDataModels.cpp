// The model articles besides MODELLO01: MODELLO02, chino trousers with a bill of materials and one link,
// MODELLO03, a jacket without links, production data or bill of materials, and MODELLO04, a women's
// shirt whose three link fabrics can all be generated.
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

void AddTrousersModel(Writer& w, Barcodes& barcodes) {
    const std::string code = "MODELLO02";
    ArticleSpec a;
    a.code = code;
    a.kind = "PF";
    a.description = "Pantalone chino uomo";
    a.extended = "Pantalone chino in gabardina di cotone, tasche america, fondo 19 cm";
    a.english = "Men's chino trousers";
    a.family = "PAN";
    a.subfamily = "UOMO";
    a.group = "CHINO";
    a.make = "URBAN";
    a.stat1 = "AI";
    a.stat2 = "CONTINUATIVO";
    a.stat3 = "FASCIA-B";
    a.stat4 = "ITALIA";
    a.season = "AI2025";
    a.typology = "PANTALONE";
    a.composition = "98% cotone, 2% elastan";
    a.line = "UOMO-SPORT";
    a.brand = "URBAN";
    AddArticle(w, a);
    AddArticleVariants(w, code,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                        {{kColourVariant, 1, kNull, 1}, {kSizeVariant, 1, "TAG-PAN", 2}, {kFitVariant, 1, "VES-TUTTE", 3}}});
    barcodes.Add(code, 1, kWarehouseOption, true);
    barcodes.Add(code, 2);
    w.InsertForArticle("MG69_UBICAZART", code,
                       {{"MG69_OPZIONE_MG5E", "MG69_MAGAZZINO", "MG69_UBICAZIONE", "MG69_QTA1UBICEFF", "MG69_COLLIUBICEFF"},
                        {{kWarehouseOption, "MAG01", "C-02-01", 80, 8}}});
    w.InsertForArticle("MG73_ARTCLIFOR", code,
                       {{"MG73_OPZIONE_MG5E", "MG73_ARTCLIFOR", "MG73_TIPOCF_CG44", "MG73_CLIFOR_CG44", "MG73_DESCART"},
                        {{kWarehouseOption, "MB-HOSE-2231", 0, 1003, "Chino Herren"}}});
    AddStockParameters(w, code, 15, 180, 40, 2004);
    AddProduction(w, code, "CONF", "Ciclo pantalone chino",
                  {{1,
                    {{"PD53_NUMFASE", "PD53_DESCR", "PD53_REPARTO", "PD53_TEMPOSETUP", "PD53_TEMPOLAV"},
                     {{10, "Taglio", "TAGLIO", 0.5, 0.15},
                      {20, "Confezione", "CONF", 0.4, 0.6},
                      {30, "Stiro e controllo", "FINISS", 0.1, 0.1}}}}});
    AddBillOfMaterials(w, code, "Distinta pantalone chino",
                       {{"PD96_SEQCOMP", "PD96_COMPON", "PD96_QTA1", "PD96_UM", "PD96_PERCSCARTO"},
                        {{10, "TS-COTONE-BIANCO", 1.3, "MT", 3},
                         {20, "ACC-BOTTONE-MADRE", 1, "PZ", 0},
                         {30, "ACC-FILO-COTONE", 220, "MT", 5},
                         {40, "ACC-ETICHETTA", 1, "PZ", 0}}});
}

void AddJacketModel(Writer& w, Barcodes& barcodes) {
    const std::string code = "MODELLO03";
    ArticleSpec a;
    a.code = code;
    a.kind = "PF";
    a.description = "Giacca donna in lino";
    a.extended = "Giacca sfoderata monopetto in lino, due bottoni";
    a.english = "Women's linen jacket";
    a.family = "GIA";
    a.subfamily = "DONNA";
    a.group = "BLAZER";
    a.make = "MARE-BLU";
    a.stat1 = "PE";
    a.stat2 = "MODA";
    a.stat3 = "FASCIA-A";
    a.stat4 = "EXPORT";
    a.season = "PE2026";
    a.typology = "GIACCA";
    a.composition = "100% lino";
    a.line = "DONNA";
    a.brand = "MARE-BLU";
    AddArticle(w, a);
    AddArticleVariants(w, code,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                        {{kColourVariant, 1, "COL-ESTATE", 1}, {kSizeVariant, 1, "TAG-CAM", 2}}});
    barcodes.Add(code, 1, kWarehouseOption, true);
    AddStockParameters(w, code, 5, 60, 12, 0);
}

void AddWomensShirtModel(Writer& w, Barcodes& barcodes) {
    const std::string code = "MODELLO04";
    ArticleSpec a;
    a.code = code;
    a.kind = "PF";
    a.description = "Camicia donna";
    a.extended = "Camicia donna in popeline, collo coreano, maniche a tre quarti";
    a.english = "Women's shirt";
    a.family = "CAM";
    a.subfamily = "DONNA";
    a.group = "BLUSA";
    a.make = "MARE-BLU";
    a.stat1 = "PE";
    a.stat2 = "MODA";
    a.stat3 = "FASCIA-B";
    a.stat4 = "ITALIA";
    a.season = "PE2026";
    a.typology = "CAMICIA";
    a.composition = "100% cotone";
    a.line = "DONNA";
    a.brand = "MARE-BLU";
    AddArticle(w, a);
    AddArticleVariants(w, code,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                        {{kColourVariant, 1, kNull, 1}, {kSizeVariant, 1, "TAG-CAM", 2}}});
    barcodes.Add(code, 1, kWarehouseOption, true);
    w.InsertForArticle("MG69_UBICAZART", code,
                       {{"MG69_OPZIONE_MG5E", "MG69_MAGAZZINO", "MG69_UBICAZIONE", "MG69_QTA1UBICEFF", "MG69_COLLIUBICEFF"},
                        {{kWarehouseOption, "MAG01", "A-03-02", 45, 5}}});
    AddStockParameters(w, code, 10, 120, 30, 2004);
    AddProduction(w, code, "CONF", "Ciclo camicia donna",
                  {{1,
                    {{"PD53_NUMFASE", "PD53_DESCR", "PD53_REPARTO", "PD53_TEMPOSETUP", "PD53_TEMPOLAV"},
                     {{10, "Taglio", "TAGLIO", 0.4, 0.12},
                      {20, "Confezione", "CONF", 0.3, 0.5},
                      {30, "Stiro e controllo", "FINISS", 0.1, 0.08}}}}});
    AddBillOfMaterials(w, code, "Distinta camicia donna",
                       {{"PD96_SEQCOMP", "PD96_COMPON", "PD96_QTA1", "PD96_UM", "PD96_PERCSCARTO"},
                        {{10, "TS-COTONE-BIANCO", 1.4, "MT", 4},
                         {20, "ACC-BOTTONE-MADRE", 7, "PZ", 0},
                         {30, "ACC-FILO-COTONE", 180, "MT", 5},
                         {40, "ACC-ETICHETTA", 1, "PZ", 0}}});
}

}  // namespace

void AddModels(Writer& w, Barcodes& barcodes, const std::map<std::string, long>& seasons) {
    AddMainModel(w, barcodes, seasons);
    AddTrousersModel(w, barcodes);
    AddJacketModel(w, barcodes);
    AddWomensShirtModel(w, barcodes);
}

}  // namespace erp::demo
