// What the models are made of: six fabrics (kind TS) and the accessories of their bills of materials.
// The fabrics' colour variant covers every case of the colour-from-fabric rule: active with a grouping
// (COTONE-BIANCO, LINO-BLU, DENIM-BLU, TWILL-NERO), inactive (SETA-ROSSA) and active without a grouping
// (LANA-GRIGIA).
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

struct Fabric {
    ArticleSpec article;
    int colourActive;
    db::Variant colourGrouping;
    long supplier;
    const char* supplierCode;
    double weight;  // g/m2
    double height;  // cm
};

std::vector<Fabric> Fabrics() {
    auto plan = [](const char* code, const char* description, const char* extended, const char* english,
                   const char* group, const char* typology, const char* composition, const char* season) {
        ArticleSpec a;
        a.code = code;
        a.kind = "TS";
        a.description = description;
        a.extended = extended;
        a.english = english;
        a.family = "TES";
        a.subfamily = "NAT";
        a.group = group;
        a.stat2 = "CONTINUATIVO";
        a.unit = "MT";
        a.season = season;
        a.typology = typology;
        a.composition = composition;
        a.line = "TESSUTI";
        return a;
    };
    return {
        {plan("TS-COTONE-BIANCO", "Popeline di cotone bianco", "Popeline 100% cotone egiziano makò, finissaggio antipiega",
              "White cotton poplin", "COT", "POPELINE", "100% cotone", "PE2025"),
         1, "COL-BASE", 2001, "TC-POP-110-BI", 110, 150},
        {plan("TS-LINO-BLU", "Tela di lino blu", "Tela di puro lino lavato, tinto in capo", "Blue linen canvas", "LIN",
              "TELA", "100% lino", "PE2025"),
         1, "LINO-BLU", 2001, "TC-LIN-140-BL", 140, 145},
        {plan("TS-SETA-ROSSA", "Raso di seta rosso", "Raso di seta charmeuse, mano fluida", "Red silk satin", "SET", "RASO",
              "100% seta", "PE2026"),
         0, "COL-ESTATE", 2001, "TC-SET-090-RO", 90, 140},
        {plan("TS-LANA-GRIGIA", "Flanella di lana grigia", "Flanella di lana merino cardata, grigio melange",
              "Grey wool flannel", "LAN", "FLANELLA", "100% lana vergine", "AI2025"),
         1, kNull, 2002, "LB-FLA-260-GR", 260, 150},
        {plan("TS-DENIM-BLU", "Denim leggero blu", "Denim di cotone 6 once, lavato stone", "Light blue denim", "COT",
              "TELA", "100% cotone", "AI2025"),
         1, "COL-INVERNO", 2001, "TC-DEN-200-BL", 200, 150},
        {plan("TS-TWILL-NERO", "Twill di cotone nero", "Twill di cotone compatto, tinto filo", "Black cotton twill",
              "COT", "TELA", "100% cotone", "PE2025"),
         1, "COL-BASE", 2001, "TC-TWI-160-NE", 160, 150},
    };
}

void AddFabric(Writer& w, const Fabric& f) {
    AddArticle(w, f.article);
    w.Run("UPDATE FA12_ARTICOLI SET FA12_PESOGRMQ = " + Literal(f.weight) + ", FA12_ALTEZZACM = " + Literal(f.height) +
          " WHERE " + ArticleCondition(w, "FA12_ARTICOLI", f.article.code));
    AddArticleVariants(w, f.article.code,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ"},
                        {{kColourVariant, f.colourActive, f.colourGrouping, 1}}});
    w.InsertForArticle("MG73_ARTCLIFOR", f.article.code,
                       {{"MG73_OPZIONE_MG5E", "MG73_ARTCLIFOR", "MG73_TIPOCF_CG44", "MG73_CLIFOR_CG44", "MG73_DESCART",
                         "MG73_UM"},
                        {{kWarehouseOption, f.supplierCode, 1, f.supplier, f.article.description, "MT"}}});
}

void AddAccessories(Writer& w) {
    struct Accessory {
        const char* code;
        const char* description;
        const char* group;
        const char* unit;
    };
    const Accessory accessories[] = {
        {"ACC-BOTTONE-MADRE", "Bottone madreperla 11 mm", "BOT", "PZ"},
        {"ACC-FILO-COTONE", "Filo cucirino cotone 50/3", "FIL", "MT"},
        {"ACC-ETICHETTA", "Etichetta tessuta marchio", "ETI", "PZ"},
        {"ACC-INTERFODERA", "Interfodera termoadesiva", "FIL", "MT"},
        {"ACC-CARTELLINO", "Cartellino prezzo con cordino", "ETI", "PZ"},
        {"ACC-BUSTA", "Busta in polipropilene trasparente", "ETI", "PZ"},
    };
    for (const Accessory& acc : accessories) {
        ArticleSpec a;
        a.code = acc.code;
        a.kind = "AC";
        a.description = acc.description;
        a.family = "ACC";
        a.subfamily = "MERC";
        a.group = acc.group;
        a.stat2 = "CONTINUATIVO";
        a.unit = acc.unit;
        a.typology = "MERCERIA";
        AddArticle(w, a);
    }
}

}  // namespace

void AddComponents(Writer& w) {
    for (const Fabric& f : Fabrics()) AddFabric(w, f);
    AddAccessories(w);
}

}  // namespace erp::demo
