// MODELLO01, the main model: a men's poplin shirt with rows in every table a duplication reads, including
// rows that a duplication must leave behind (descriptions of an option, attributes of another language
// or entity, barcodes typed by hand).
#include "db/Quote.h"
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

constexpr const char* kModel = "MODELLO01";
const std::string kOpt = kWarehouseOption;

void AddMaster(Writer& w) {
    ArticleSpec a;
    a.code = kModel;
    a.kind = "PF";
    a.description = "Camicia uomo popeline";
    a.extended = "Camicia uomo in popeline di cotone, collo francese, polsino singolo, vestibilità regolare";
    a.family = "CAM";
    a.subfamily = "UOMO";
    a.group = "CLASS";
    a.subgroup = "ML";
    a.make = "ALTA-SARTORIA";
    a.stat1 = "PE";
    a.stat2 = "MODA";
    a.stat3 = "FASCIA-A";
    a.stat4 = "EXPORT";
    a.season = "PE2025";
    a.typology = "CAMICIA";
    a.composition = "100% cotone";
    a.line = "UOMO-CLASSIC";
    a.brand = "ALTA-SARTORIA";
    a.theme = "Riviera";
    AddArticle(w, a);
    w.Run("UPDATE MG66_ANAGRART SET MG66_PESONETTO = 0.28 WHERE " + ArticleCondition(w, "MG66_ANAGRART", kModel));
    w.Run("UPDATE MG87_ARTDESC SET MG87_DESCBREVE = 'Camicia popeline', "
          "MG87_NOTEART = 'Modello base della collezione PE2025' WHERE " + DescriptionCondition(w, kModel, " "));
}

void AddDescriptions(Writer& w) {
    // English keeps notes, German has none: a copy must carry both over as they are.
    w.InsertForArticle("MG87_ARTDESC", kModel,
                       {{"MG87_OPZIONE_MG5E", "MG87_LINGUA_MG52", "MG87_DESCART", "MG87_DESCARTEST", "MG87_NOTEART"},
                        {
                            {kOpt, "EN", "Men's poplin shirt", "Men's cotton poplin shirt, cutaway collar, single cuff",
                             "Wash inside out"},
                            {kOpt, "DE", "Herrenhemd aus Popeline", "Herrenhemd aus Baumwollpopeline, Haifischkragen",
                             kNull},
                            {kOpt, "FR", "Chemise homme popeline", kNull, "Laver à l'envers"},
                            {"BIA", "EN", "Men's poplin shirt, white", kNull, kNull},
                        }});
}

void AddAttributes(Writer& w) {
    // Attributes of the English description and of another entity: a duplication leaves both behind.
    w.InsertSelect({"FA13_ATTRIBUTI",
                    {{"FA13_GUID", "MG87_GUID"}, {"FA13_DITTA_CG18", "MG87_DITTA_CG18"}},
                    "MG87_ARTDESC",
                    DescriptionCondition(w, kModel, "EN"),
                    {{"FA13_ENTITA_FA11", "FA13_LINEA_FA05", "FA13_MARCHIO_FA06", "FA13_NOTE"},
                     {{0, "UOMO-SPORT", "URBAN", "Attributi della collezione export"}}}});
    w.InsertSelect({"FA13_ATTRIBUTI",
                    {{"FA13_GUID", "MG87_GUID"}, {"FA13_DITTA_CG18", "MG87_DITTA_CG18"}},
                    "MG87_ARTDESC",
                    DescriptionCondition(w, kModel, " "),
                    {{"FA13_ENTITA_FA11", "FA13_TEMA", "FA13_NOTE"}, {{1, "Scheda tecnica", "Misure da cartamodello"}}}});
}

void AddWarehouse(Writer& w, Barcodes& barcodes) {
    w.InsertForArticle("MG69_UBICAZART", kModel,
                       {{"MG69_OPZIONE_MG5E", "MG69_MAGAZZINO", "MG69_UBICAZIONE", "MG69_QTA1UBICEFF",
                         "MG69_QTA1ATTESACAR", "MG69_QTA1ATTESASCA", "MG69_QTA2UBICEFF", "MG69_QTA2ATTESACAR",
                         "MG69_QTA2ATTESASCA", "MG69_COLLIUBICEFF", "MG69_COLLIATTESACAR", "MG69_COLLIATTESASCA",
                         "MG69_QTAMAXUBIC", "MG69_FLGPREFERENZIALE", "MG69_DTULTMOV", "MG69_NOTE"},
                        {
                            {kOpt, "MAG01", "A-01-01", 120, 24, 6, 10, 2, 0.5, 12, 2, 1, 300, 1, Day(2025, 3, 14),
                             "Scaffale camicie piegate"},
                            {kOpt, "MAG02", "B-03-02", 45, 0, 12, 3.75, 0, 1, 5, 0, 1, 100, 0, Day(2025, 2, 27), kNull},
                        }});

    barcodes.Add(kModel, 1, kOpt, true);
    barcodes.Add(kModel, 2);
    barcodes.AddManual(kModel, "MOD01-CAMPIONARIO");
    barcodes.Add(kModel, 1, "BIA");  // a barcode of an option stays with the model

    w.InsertForArticle("MG73_ARTCLIFOR", kModel,
                       {{"MG73_OPZIONE_MG5E", "MG73_ARTCLIFOR", "MG73_TIPOCF_CG44", "MG73_CLIFOR_CG44", "MG73_DESCART",
                         "MG73_UM", "MG73_FATTCONV", "MG73_NOTE"},
                        {
                            {kOpt, "BMM-CAM-778", 0, 1001, "Camicia popeline collo francese", "PZ", 1, kNull},
                            {kOpt, "GMR-445500", 0, 1002, "CAMICIA UOMO POPELINE", "NR", 1, "Codice del listino primavera"},
                            {kOpt, "CA-MOD01", 1, 2004, "Confezione camicia MODELLO01", "PZ", 1, "Conto lavoro"},
                        }});

    w.InsertForArticle("MG6C_ANAGRARTAGE", kModel,
                       {{"MG6C_AGENTE", "MG6C_PERCPROVV", "MG6C_DTINIZIO", "MG6C_DTFINE", "MG6C_NOTE"},
                        {{501, 5.5, Day(2025, 1, 1), kNull, "Zona Lombardia"},
                         {502, 4, Day(2025, 1, 1), Day(2025, 12, 31), kNull}}});
}

void AddLotsAndTraceability(Writer& w) {
    w.InsertForArticle("MG4G_ANAGRLOTTI", kModel,
                       {{"MG4G_OPZIONE_MG5E", "MG4G_CODLOTTO", "MG4G_DESCR", "MG4G_DTPRODUZIONE", "MG4G_DTSCADENZA",
                         "MG4G_FLGBLOCCATO", "MG4G_NOTE"},
                        {{kOpt, "L2025-001", "Lotto produzione gennaio", Day(2025, 1, 20), kNull, 0, kNull},
                         {kOpt, "L2025-002", "Lotto produzione marzo", Day(2025, 3, 10), kNull, 1, "In controllo qualità"}}});
    w.InsertForArticle("MG4N_ARTTRALIM", kModel,
                       {{"MG4N_CODTRACC", "MG4N_DESCR", "MG4N_FLGOBBLIGATORIA", "MG4N_GGCONSERVAZIONE", "MG4N_NOTE"},
                        {{"TR-FIBRA", "Origine della fibra", 1, 3650, kNull},
                         {"TR-TINTURA", "Tintoria", 0, 1825, "Certificazione tinture"}}});
    w.InsertForArticle("MG4P_LOTTRALIM", kModel,
                       {{"MG4P_OPZIONE_MG5E", "MG4P_CODLOTTO", "MG4P_CODTRACC", "MG4P_ORIGINE", "MG4P_DTRILEVAZIONE",
                         "MG4P_QTA", "MG4P_NOTE"},
                        {{kOpt, "L2025-001", "TR-FIBRA", "Egitto", Day(2025, 1, 15), 150, kNull},
                         {kOpt, "L2025-001", "TR-TINTURA", "Como", Day(2025, 1, 18), 150, kNull},
                         {kOpt, "L2025-002", "TR-FIBRA", "Egitto", Day(2025, 3, 5), 90, "Lotto parziale"}}});
    w.InsertForArticle("MG6M_PARAMARTLOTTI", kModel,
                       {{"MG6M_OPZIONE_MG5E", "MG6M_FLGGESTLOTTI", "MG6M_GGSCADENZA", "MG6M_MASCHERALOTTO",
                         "MG6M_INDPRELIEVO"},
                        {{kOpt, 1, 0, "LAAAA-NNN", 1}}});
}

// The groups the stored procedure copies.
void AddProcedureGroups(Writer& w) {
    w.InsertForArticle("MG68_CONFART", kModel,
                       {{"MG68_OPZIONE_MG5E", "MG68_CODCONF", "MG68_DESCR", "MG68_QTACONF", "MG68_PESO", "MG68_VOLUME",
                         "MG68_FLGPREDEF"},
                        {{kOpt, "BUSTA", "Busta singola", 1, 0.32, 0.002, 1},
                         {kOpt, "SCAT6", "Scatola da 6", 6, 2.1, 0.018, 0}}});
    w.InsertForArticle("MG67_SCORTE", kModel,
                       {{"MG67_OPZIONE_MG5E", "MG67_MAGAZZINO", "MG67_SCORTAMIN", "MG67_SCORTAMAX", "MG67_PUNTORIORD",
                         "MG67_LOTTORIORD"},
                        {{kOpt, "MAG01", 20, 250, 60, 100}, {kOpt, "MAG02", 5, 60, 15, 24}}});
    w.InsertForArticle("MG84_ARTALTER", kModel,
                       {{"MG84_OPZIONE_MG5E", "MG84_CODARTALT_MG66", "MG84_PRIORITA", "MG84_NOTE"},
                        {{kOpt, "CAM-100", 1, "Stessa vestibilità"}}});
    w.InsertForArticle("MG85_ARTSOST", kModel,
                       {{"MG85_OPZIONE_MG5E", "MG85_CODARTSOST_MG66", "MG85_DTINIZIO", "MG85_FLGAUTOMATICA", "MG85_NOTE"},
                        {{kOpt, "CAM-105", Day(2025, 9, 1), 0, "Sostituto da fine stagione"}}});
    w.InsertForArticle("MG86_ARTCONC", kModel,
                       {{"MG86_OPZIONE_MG5E", "MG86_CONCORRENTE", "MG86_CODARTCONC", "MG86_PREZZO", "MG86_NOTE"},
                        {{kOpt, "Camiceria Lariana", "CL-2231", 64.5, kNull}}});
    w.InsertForArticle("MG92_ARTPACKL", kModel,
                       {{"MG92_OPZIONE_MG5E", "MG92_CODIMBALLO", "MG92_QTAPERCOLLO", "MG92_PESONETTO", "MG92_PESOLORDO",
                         "MG92_VOLUME"},
                        {{kOpt, "CART60", 24, 6.72, 7.4, 0.072}}});
    w.InsertForArticle("MG7A_UBICAZARTFIX", kModel,
                       {{"MG7A_OPZIONE_MG5E", "MG7A_MAGAZZINO", "MG7A_UBICAZIONE", "MG7A_QTAMAX", "MG7A_FLGPREFERENZIALE"},
                        {{kOpt, "MAG01", "A-01-01", 300, 1}}});
    w.InsertForArticle("LI10_LISTARTIC", kModel,
                       {{"LI10_OPZIONE_MG5E", "LI10_FLGVENACQ", "LI10_CODLISTINO", "LI10_DTINIZIO", "LI10_DTFINE",
                         "LI10_PREZZO", "LI10_SCONTO"},
                        {{kOpt, 0, "LIST01", Day(2025, 1, 1), kNull, 59.9, 0},
                         {kOpt, 0, "OUTLET", Day(2025, 7, 1), Day(2025, 8, 31), 39.9, 10},
                         {kOpt, 1, "ACQ01", Day(2025, 1, 1), kNull, 18.5, 0}}});
    w.InsertForArticle("LI11_ULTPRACQVEN", kModel,
                       {{"LI11_OPZIONE_MG5E", "LI11_FLGVENACQ", "LI11_PROG", "LI11_CLIFOR_CG44", "LI11_DTDOC", "LI11_QTA",
                         "LI11_PREZZO", "LI11_SCONTO"},
                        {{kOpt, 0, 1, 1001, Day(2025, 2, 12), 24, 57, 5},
                         {kOpt, 0, 2, 1002, Day(2025, 3, 3), 60, 54.5, 8},
                         {kOpt, 1, 1, 2004, Day(2025, 1, 28), 300, 18.5, 0}}});
    w.InsertForArticle("MG72_APPLICART", kModel,
                       {{"MG72_OPZIONE_MG5E", "MG72_CODAPPLIC", "MG72_DESCR", "MG72_NOTE"},
                        {{kOpt, "UFFICIO", "Abbigliamento da ufficio", kNull},
                         {kOpt, "CERIMONIA", "Cerimonia", "Con gemelli"}}});
    w.InsertForArticle("MG43_ARTPERS", kModel,
                       {{"MG43_OPZIONE_MG5E", "MG43_CAMPO", "MG43_VALORETESTO", "MG43_VALORENUM", "MG43_VALOREDATA"},
                        {{kOpt, "COLLEZIONE", "Sartoriale 2025", kNull, kNull},
                         {kOpt, "PESO_CONFEZIONE", kNull, 0.32, kNull},
                         {kOpt, "DATA_LANCIO", kNull, kNull, Day(2025, 2, 1)}}});
    w.InsertForArticle("MG98_MAGINTRA", kModel,
                       {{"MG98_OPZIONE_MG5E", "MG98_NOMENCLATURA", "MG98_MASSANETTA", "MG98_UMSUPPL", "MG98_QTAUMSUPPL",
                         "MG98_PAESEORIGINE"},
                        {{kOpt, "62052000", 0.28, "PZ", 1, "IT"}}});
    w.InsertForArticle("PK07_ARTIMB", kModel,
                       {{"PK07_OPZIONE_MG5E", "PK07_CODIMB", "PK07_QTA", "PK07_PESO", "PK07_TARA"},
                        {{kOpt, "GRUCCIA", 1, 0.04, 0.04}, {kOpt, "SCATOLA-6", 6, 0.25, 0.25}}});
}

void AddFashion(Writer& w, const std::map<std::string, long>& seasons) {
    w.InsertForArticle("FA10_ARTLAVAGGI", kModel,
                       {{"FA10_OPZIONE_MG5E", "FA10_CODLAVAGGIO", "FA10_SEQ", "FA10_DESCR", "FA10_NOTE"},
                        {{kFashionOption, "LAV30", 1, "Lavaggio in lavatrice a 30°", kNull},
                         {kFashionOption, "NOCAND", 2, "Non candeggiare", kNull},
                         {kFashionOption, "STIRO2", 3, "Stirare a temperatura media", "Stirare al rovescio"}}});
    w.InsertForArticle("FA37_ASSARTITIPOCOMP", kModel,
                       {{"FA37_OPZIONE_MG5E", "FA37_TIPOCOMP", "FA37_SEQ", "FA37_PERCENTUALE", "FA37_NOTE"},
                        {{kFashionOption, "TESSUTO", 1, 94, "Tessuto principale"},
                         {kFashionOption, "MERCERIA", 2, 6, kNull}}});
    w.InsertForArticle("FA25_STORICOSTAGIONI", kModel,
                       {{"FA25_IDSTAGIONE_MG5T", "FA25_FLGPROTOTIPIA", "FA25_FLGCAMPIONARIO", "FA25_FLGCOLLEZIONE",
                         "FA25_FLGRIASSORTIMENTO"},
                        {{seasons.at("PE2025"), 1, 1, 1, 0}}});
}

void AddModelVariants(Writer& w) {
    // Size is the one variant with a grouping; fit is not in use.
    AddArticleVariants(w, kModel,
                       {{"MG6B_CODICEVAR_MG5F", "MG6B_FLGGESTVAR", "MG6B_CODRAGGVAR_MG5G", "MG6B_SEQ",
                         "MG6B_FLGOBBLIGATORIA"},
                        {{kColourVariant, 1, kNull, 1, 1},
                         {kSizeVariant, 1, "TAG-CAM", 2, 1},
                         {kFitVariant, 0, kNull, 3, 0}}});
}

void AddProductionData(Writer& w) {
    const ValueTable phaseColumns{{"PD53_NUMFASE", "PD53_DESCR", "PD53_REPARTO", "PD53_TEMPOSETUP", "PD53_TEMPOLAV",
                                   "PD53_FLGESTERNA"},
                                  {}};
    ValueTable version2 = phaseColumns, version5 = phaseColumns;
    version2.rows = {{10, "Taglio", "TAGLIO", 0.5, 0.12, 0},
                     {20, "Confezione", "CONF", 0.3, 0.45, 0},
                     {30, "Stiro e controllo", "FINISS", 0.1, 0.08, 0}};
    version5.rows = {{10, "Taglio automatico", "TAGLIO", 0.8, 0.06, 0},
                     {20, "Confezione", "CONF", 0.3, 0.42, 0},
                     {30, "Ricamo iniziali", "ESTERNO", 0, 0.1, 1},
                     {40, "Stiro e controllo", "FINISS", 0.1, 0.08, 0}};
    AddProduction(w, kModel, "CONF", "Ciclo camicia classica", {{2, version2}, {5, version5}});

    w.InsertForArticle("PD27_ANAFORMULE", kModel,
                       {{"PD27_OPZIONE", "PD27_CODFORMULA", "PD27_DESCR", "PD27_FORMULA", "PD27_FLGATTIVA"},
                        {{kOpt, "CONSUMO", "Consumo tessuto per taglia", "QTA * 1.65 * COEFF_TAGLIA", 1},
                         {kOpt, "SCARTO", "Scarto di taglio", "QTA * 0.03", 0}}});

    // Technical sheets attached to each cycle version through its identifier.
    w.InsertSelect({"AG01_ALLEGATI",
                    {{"AG01_DITTA_CG18", "PD52_DITTA_CG18"}, {"AG01_GUIDRIF", "PD52_GUID"}},
                    "PD52_ANAGCICLI",
                    "PD52_DITTA_CG18 = " + w.CompanySql() + " AND PD52_CODICE = " + db::SqlText(kModel),
                    {{"AG01_ENTITA", "AG01_PROG", "AG01_DESCR", "AG01_PERCORSO", "AG01_NOTE"},
                     {{21, 1, "Scheda tecnica del ciclo", "docs/cicli/MODELLO01.pdf", kNull},
                      {21, 2, "Tempi e metodi", kNull, "Rilevati in reparto"}}}});

    AddBillOfMaterials(w, kModel, "Distinta camicia popeline",
                       {{"PD96_SEQCOMP", "PD96_COMPON", "PD96_QTA1", "PD96_UM", "PD96_PERCSCARTO", "PD96_NOTE"},
                        {{10, "TS-COTONE-BIANCO", 1.65, "MT", 3, "Tessuto principale"},
                         {20, "ACC-BOTTONE-MADRE", 12, "PZ", 2, kNull},
                         {30, "ACC-FILO-COTONE", 180, "MT", 5, kNull},
                         {40, "ACC-ETICHETTA", 1, "PZ", 0, kNull},
                         {50, "ACC-INTERFODERA", 0.25, "MT", 4, "Collo e polsini"},
                         {60, "ACC-BUSTA", 1, "PZ", 0, kNull}}});
}

}  // namespace

void AddMainModel(Writer& w, Barcodes& barcodes, const std::map<std::string, long>& seasons) {
    AddMaster(w);
    AddDescriptions(w);
    AddAttributes(w);
    AddWarehouse(w, barcodes);
    AddLotsAndTraceability(w);
    AddStockParameters(w, kModel, 20, 250, 60, 2004);
    AddProcedureGroups(w);
    AddFashion(w, seasons);
    AddModelVariants(w);
    AddProductionData(w);
}

}  // namespace erp::demo
