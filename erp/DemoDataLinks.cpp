// Links of the demo: MODELLO01 with prefix "AG", main fabric TS-COTONE-BIANCO on bill line 10 and three
// link fabrics; MODELLO02 without prefix and one link row that leaves season and typology to the model.
// MODELLO04 with prefix "DN" and three link fabrics that all have a usable colour: a run creates three
// articles. No row is generated yet. MODELLO03 has no links.
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

void AddLinkHeader(Writer& w, const std::string& model, const db::Variant& prefix, const db::Variant& sequence,
                   const std::string& mainFabric, const ValueTable& rows) {
    w.InsertForArticle("FA63_AGGANCI", model,
                       {{"FA63_PREFISSO", "FA63_SEQUENZA", "FA63_TSPRINCIPALE", "FA63_FLGCODALT", "FA63_CODALT"},
                        {{prefix, sequence, mainFabric, 0, kNull}}});
    // The rows point to the identifier the database gave the header.
    w.InsertSelect({"FA64_AGGANCIDET",
                    {{"FA64_DITTA_CG18", "FA63_DITTA_CG18"}, {"FA64_GUID_FA63", "FA63_GUID"}},
                    "FA63_AGGANCI",
                    ArticleCondition(w, "FA63_AGGANCI", model),
                    rows});
}

}  // namespace

void AddLinks(Writer& w, const std::map<std::string, long>& seasons) {
    const std::vector<std::string> columns{"FA64_CODTESS_FA12", "FA64_DESCRIZIONE", "FA64_DESCRESTESA",
                                           "FA64_QTA1DIBA",     "FA64_STAGIONE_MG5T", "FA64_LINEA_FA05",
                                           "FA64_MARCHIO_FA06", "FA64_TIPOLOGIA_FA04"};
    AddLinkHeader(w, "MODELLO01", "AG", 10, "TS-COTONE-BIANCO",
                  {columns,
                   {
                       {"TS-LINO-BLU", "Camicia uomo lino blu", "Camicia uomo in tela di lino blu, collo francese", 1.7,
                        seasons.at("PE2025"), "UOMO-CLASSIC", "ALTA-SARTORIA", "CAMICIA"},
                       {"TS-SETA-ROSSA", "Camicia uomo seta rossa", "Camicia uomo in raso di seta rosso", 1.6,
                        seasons.at("PE2026"), "UOMO-CLASSIC", "MARE-BLU", "CAMICIA"},
                       {"TS-LANA-GRIGIA", "Camicia uomo flanella grigia", kNull, 1.8, seasons.at("AI2025"),
                        "UOMO-SPORT", "URBAN", "CAMICIA"},
                   }});
    AddLinkHeader(w, "MODELLO02", "", kNull, "TS-COTONE-BIANCO",
                  {columns,
                   {
                       {"TS-LINO-BLU", "Pantalone chino lino blu", "Pantalone chino in tela di lino blu", 1.35, kNull,
                        "UOMO-SPORT", "URBAN", kNull},
                   }});
    AddLinkHeader(w, "MODELLO04", "DN", 10, "TS-COTONE-BIANCO",
                  {columns,
                   {
                       {"TS-LINO-BLU", "Camicia donna lino blu", "Camicia donna in tela di lino blu, collo coreano", 1.5,
                        seasons.at("PE2026"), "DONNA", "MARE-BLU", "CAMICIA"},
                       {"TS-DENIM-BLU", "Camicia donna denim", "Camicia donna in denim leggero lavato", 1.55,
                        seasons.at("AI2025"), "DONNA", "URBAN", "CAMICIA"},
                       {"TS-TWILL-NERO", "Camicia donna twill nero", kNull, 1.45, seasons.at("PE2025"), "DONNA",
                        "ALTA-SARTORIA", "CAMICIA"},
                   }});
}

}  // namespace erp::demo
