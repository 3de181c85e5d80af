#include "mass_duplication/InitAdvQuery.h"

#include "entry/ErrorHandler.h"
#include "entry/Rif.h"

namespace mass_duplication {

namespace {

namespace lookup = entry::lookup;

// The filter fields, the list each one offers and how many of the fields before it (family,
// subfamily, group) narrow that list.
struct Campo {
    const char* caption;
    const char* field;
    const char* lista;
    int genitori;
};
constexpr Campo kCampi[] = {
    {"Articolo", "MG66_CODART", lookup::Articolo, 0},
    {"Famiglia", "MG66_ANAGRART.MG66_FAM_MG53", lookup::Famiglia, 0},
    {"Sottofamiglia", "MG66_ANAGRART.MG66_SFAM_MG54", lookup::Sottofamiglia, 1},
    {"Gruppo", "MG66_ANAGRART.MG66_GRUPPO_MG55", lookup::Gruppo, 2},
    {"Sottogruppo", "MG66_ANAGRART.MG66_SGRUPPO_MG56", lookup::Sottogruppo, 3},
    {"Gruppo statistico 1", "MG66_ANAGRART.MG66_GRUSTAT1_MG74", lookup::GruppoStatistico1, 0},
    {"Gruppo statistico 2", "MG66_ANAGRART.MG66_GRUSTAT2_MG75", lookup::GruppoStatistico2, 0},
    {"Gruppo statistico 3", "MG66_ANAGRART.MG66_GRUSTAT3_MG76", lookup::GruppoStatistico3, 0},
    {"Gruppo statistico 4", "MG66_ANAGRART.MG66_GRUSTAT4_MG77", lookup::GruppoStatistico4, 0},
};
constexpr int kPrimoGenitore = 1;  // the family's place in kCampi

// The value the query holds for a field on the side asked (a range has two); nothing without a condition.
const std::string* ValoreCorrente(const entry::IAdvancedQuery& query, const Campo& campo, int lato) {
    for (const auto& c : query.Condizioni()) {
        if (c.field != campo.field && c.field != campo.caption) continue;
        if (c.values.empty()) return nullptr;
        const std::size_t i = lato == 2 && c.values.size() > 1 ? 1 : 0;
        return &c.values[i];
    }
    return nullptr;
}

}  // namespace

bool InitAdvQuery(entry::IAdvancedQuery& query, const ImpostazioniQuery& impostazioni,
                  const generation::GenerationContext& contesto) {
    auto messaggi = contesto.messaggi;
    auto connessione = contesto.connessione;
    return entry::Procedure("InitAdvQuery", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            query.Imposta(impostazioni.ditta, impostazioni.impostazioneHost, contesto.programma,
                          impostazioni.nomeEseguibile + "_" + "ADVQ_ARTICOLI", true, connessione);
            query.RimuoviCampi();
            long ordinal = 0;
            for (const auto& c : kCampi) query.DefinisciCampo(c.caption, c.field, kGruppoStandard, ++ordinal);
            if (impostazioni.fashionAttivo) {
                query.OffriTabella("FA12_ARTICOLI", kGruppoStandard);
                query.OffriTabella("FA13_ATTRIBUTI", kGruppoStandard);
            }
            query.Completa();
            if (impostazioni.finestraModale) {
                query.SelezionaQuery(kGruppoStandard);
                query.ValoreCampo(1, impostazioni.articoloOrigine);
            }
        })
        .Run();
}

bool ADVQ_ARTICOLI_StartLookup(const entry::IAdvancedQuery& query, entry::QueryLookupRequest& richiesta,
                               const std::shared_ptr<entry::ILookupService>& servizio,
                               const generation::GenerationContext& contesto) {
    auto messaggi = contesto.messaggi;
    auto connessione = contesto.connessione;
    return entry::Procedure("ADVQ_ARTICOLI_StartLookup", entry::HandlerTable::B,
                            entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            for (const auto& campo : kCampi) {
                if (richiesta.caption != campo.caption) continue;
                // The parents narrow the list as far as the user has given them: a subgroup without a
                // group lists the subgroups of the family and subfamily.
                std::vector<db::Variant> genitori;
                for (int i = 0; i < campo.genitori; ++i) {
                    const std::string* valore = ValoreCorrente(query, kCampi[kPrimoGenitore + i], richiesta.side);
                    if (!valore) break;
                    genitori.emplace_back(*valore);
                }
                const auto definizione = entry::Rif(servizio).Prepara(campo.lista, genitori);
                richiesta.statement = definizione.statement;
                richiesta.fields = definizione.fields;
                richiesta.title = definizione.title;
                return;
            }
        })
        .Run();
}

}  // namespace mass_duplication
