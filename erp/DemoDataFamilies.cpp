// Two families of finished articles for mass duplication: shirts CAM-100..CAM-105 and trousers
// PAN-200..PAN-203, spread over groups, statistical groups, seasons, lines and brands so that the
// selection filters have something to tell apart.
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

struct FamilyArticle {
    const char* code;
    const char* description;
    const char* english;
    const char* group;
    const char* subgroup;
    const char* stat1;
    const char* stat2;
    const char* season;
    const char* composition;
    const char* line;
    const char* brand;
    const char* fabric;  // main fabric of the bill of materials
    double fabricQuantity;
    const char* colourGrouping;
};

const FamilyArticle kShirts[] = {
    {"CAM-100", "Camicia Oxford azzurra", "Light blue Oxford shirt", "CLASS", "ML", "PE", "CONTINUATIVO", "PE2025",
     "100% cotone", "UOMO-CLASSIC", "ALTA-SARTORIA", "TS-COTONE-BIANCO", 1.6, "COL-BASE"},
    {"CAM-101", "Camicia in lino bianca", "White linen shirt", "CASUAL", "ML", "PE", "MODA", "PE2025", "100% lino",
     "UOMO-SPORT", "MARE-BLU", "TS-LINO-BLU", 1.7, "COL-ESTATE"},
    {"CAM-102", "Camicia manica corta popeline", "Short-sleeved poplin shirt", "CLASS", "MC", "PE", "CONTINUATIVO",
     "PE2026", "100% cotone", "UOMO-CLASSIC", "ALTA-SARTORIA", "TS-COTONE-BIANCO", 1.3, "COL-BASE"},
    {"CAM-103", "Camicia flanella quadri", "Checked flannel shirt", "CASUAL", "ML", "AI", "MODA", "AI2025",
     "100% lana vergine", "UOMO-SPORT", "URBAN", "TS-LANA-GRIGIA", 1.8, "COL-INVERNO"},
    {"CAM-104", "Camicia in seta fantasia", "Patterned silk shirt", "CASUAL", "ML", "PE", "MODA", "PE2026", "100% seta",
     "UOMO-CLASSIC", "MARE-BLU", "TS-SETA-ROSSA", 1.6, "COL-ESTATE"},
    {"CAM-105", "Camicia collo coreana", "Mandarin collar shirt", "CLASS", "ML", "AI", "CONTINUATIVO", "AI2025",
     "100% cotone", "UOMO-CLASSIC", "ALTA-SARTORIA", "TS-COTONE-BIANCO", 1.6, "COL-BASE"},
};

const FamilyArticle kTrousers[] = {
    {"PAN-200", "Pantalone chino beige", "Beige chino trousers", "CHINO", "", "PE", "CONTINUATIVO", "PE2025",
     "98% cotone, 2% elastan", "UOMO-SPORT", "URBAN", "TS-COTONE-BIANCO", 1.3, "COL-ESTATE"},
    {"PAN-201", "Pantalone in lana grigio", "Grey wool trousers", "CHINO", "", "AI", "MODA", "AI2025",
     "100% lana vergine", "UOMO-CLASSIC", "ALTA-SARTORIA", "TS-LANA-GRIGIA", 1.4, "COL-INVERNO"},
    {"PAN-202", "Jeans cinque tasche", "Five-pocket jeans", "DENIM", "", "AI", "CONTINUATIVO", "AI2025", "100% cotone",
     "UOMO-SPORT", "URBAN", "TS-COTONE-BIANCO", 1.4, "COL-BASE"},
    {"PAN-203", "Bermuda in lino", "Linen bermuda shorts", "CHINO", "", "PE", "MODA", "PE2026", "100% lino",
     "UOMO-SPORT", "MARE-BLU", "TS-LINO-BLU", 0.9, "COL-ESTATE"},
};

void AddFamilyArticle(Writer& w, Barcodes& barcodes, const FamilyArticle& f, const char* family,
                      const char* typology, const char* sizeGrouping) {
    ArticleSpec a;
    a.code = f.code;
    a.kind = "PF";
    a.description = f.description;
    a.english = f.english;
    a.family = family;
    a.subfamily = "UOMO";
    a.group = f.group;
    a.subgroup = f.subgroup;
    a.make = f.brand;
    a.stat1 = f.stat1;
    a.stat2 = f.stat2;
    a.stat3 = "FASCIA-B";
    a.stat4 = "ITALIA";
    a.season = f.season;
    a.typology = typology;
    a.composition = f.composition;
    a.line = f.line;
    a.brand = f.brand;
    AddArticle(w, a);

    AddArticleVariants(w, f.code,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                        {{kColourVariant, 1, f.colourGrouping, 1},
                         {kSizeVariant, 1, sizeGrouping, 2},
                         {kFitVariant, 0, kNull, 3}}});
    barcodes.Add(f.code, 1, kWarehouseOption, true);
    barcodes.Add(f.code, 2);
    w.InsertForArticle("MG69_UBICAZART", f.code,
                       {{"MG69_OPZIONE_MG5E", "MG69_MAGAZZINO", "MG69_UBICAZIONE", "MG69_QTA1UBICEFF", "MG69_COLLIUBICEFF"},
                        {{kWarehouseOption, "MAG01", "D-01-01", 36, 3}}});
    AddStockParameters(w, f.code, 10, 120, 30, 2004);
    AddBillOfMaterials(w, f.code, std::string("Distinta ") + f.description,
                       {{"PD96_SEQCOMP", "PD96_COMPON", "PD96_QTA1", "PD96_UM", "PD96_PERCSCARTO"},
                        {{10, f.fabric, f.fabricQuantity, "MT", 3},
                         {20, "ACC-FILO-COTONE", 160, "MT", 5},
                         {30, "ACC-ETICHETTA", 1, "PZ", 0}}});
}

}  // namespace

void AddFamilies(Writer& w, Barcodes& barcodes) {
    for (const FamilyArticle& f : kShirts) AddFamilyArticle(w, barcodes, f, "CAM", "CAMICIA", "TAG-CAM");
    for (const FamilyArticle& f : kTrousers) AddFamilyArticle(w, barcodes, f, "PAN", "PANTALONE", "TAG-PAN");
}

}  // namespace erp::demo
