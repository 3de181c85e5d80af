// Settings of the demo company: what the shell's global object hands out, the fashion and production
// parameters, and the production product types.
#include "erp/DemoData.h"

namespace erp::demo {

void AddCompanySettings(Writer& w) {
    w.Insert("AG00_IMPOSTAZIONI", {{"AG00_CHIAVE", "AG00_VALORE", "AG00_DESCR"},
                                   {
                                       {"VarianteColore", kColourVariant, "Variante che rappresenta il colore"},
                                       {"FlgAttributiFashion", "1", "Attributi fashion duplicati"},
                                       {"EntitaAttributiArticolo", "0", "Entità attributi articolo"},
                                       {"CartellaLog", "logs/", "Cartella log elaborazioni"},
                                       {"CodiceStrutturato", "0", "Codici articolo strutturati"},
                                       {"DatiProduzione", "1", "Duplicazione dati produzione e ciclo"},
                                       {"DatiProgetto", "0", "Dati progetto in uso"},
                                       {"DescrizioneUtente", "Amministratore", "Utente corrente"},
                                   }});

    // Fashion on, variants grouped automatically by article; new articles enter sample and collection.
    w.Insert("FA00_PARAMETRI", {{"FA00_FLGGESTIONE", "FA00_INDRAGGR", "FA00_FLGPROTOTIPIA", "FA00_FLGCAMPIONARIO",
                                 "FA00_FLGCOLLEZIONE", "FA00_FLGRIASSORTIMENTO"},
                                {{1, 1, 0, 1, 1, 0}}});

    // One production cycle per article, coded as the article.
    w.Insert("PD42_PARGEST", {{"PD42_FLGCICLOCODART", "PD42_FLGLOTTIPROD", "PD42_GGANTICIPO"}, {{1, 0, 5}}});

    w.Insert("PD10_TIPIPRODOTTO", {{"PD10_CODICE", "PD10_DESCR", "PD10_FLGDISBA"},
                                   {
                                       {"CONF", "Capo confezionato", 1},
                                       {"SL", "Semilavorato", 1},
                                       {"MP", "Materia prima", 0},
                                   }});
}

std::map<std::string, long> AddSeasons(Writer& w) {
    const ValueTable seasons{{"MG5T_CODICE", "MG5T_DESCR", "MG5T_DTINIZIO", "MG5T_DTFINE"},
                             {
                                 {"PE2025", "Primavera/Estate 2025", Day(2025, 1, 1), Day(2025, 6, 30)},
                                 {"AI2025", "Autunno/Inverno 2025", Day(2025, 7, 1), Day(2025, 12, 31)},
                                 {"PE2026", "Primavera/Estate 2026", Day(2026, 1, 1), Day(2026, 6, 30)},
                             }};
    w.Insert("MG5T_STAGIONI", seasons);
    std::map<std::string, long> ids;
    for (const Row& season : seasons.rows) {
        const std::string code = season[0].CStr();
        ids[code] = w.Scalar("SELECT MG5T_IDSTAGIONE FROM MG5T_STAGIONI WHERE MG5T_DITTA_CG18 = " + w.CompanySql() +
                             " AND MG5T_CODICE = " + Literal(season[0]))
                        .CLng();
    }
    return ids;
}

}  // namespace erp::demo
