#include "mass_duplication/InitAdvQuery.h"

#include "entry/ErrorHandler.h"

namespace mass_duplication {

namespace {
struct Campo {
    const char* caption;
    const char* field;
};
constexpr Campo kCampi[] = {
    {"Articolo", "MG66_CODART"},
    {"Famiglia", "MG66_ANAGRART.MG66_FAM_MG53"},
    {"Sottofamiglia", "MG66_ANAGRART.MG66_SFAM_MG54"},
    {"Gruppo", "MG66_ANAGRART.MG66_GRUPPO_MG55"},
    {"Sottogruppo", "MG66_ANAGRART.MG66_SGRUPPO_MG56"},
    {"Gruppo statistico 1", "MG66_ANAGRART.MG66_GRUSTAT1_MG74"},
    {"Gruppo statistico 2", "MG66_ANAGRART.MG66_GRUSTAT2_MG75"},
    {"Gruppo statistico 3", "MG66_ANAGRART.MG66_GRUSTAT3_MG76"},
    {"Gruppo statistico 4", "MG66_ANAGRART.MG66_GRUSTAT4_MG77"},
};
}  // namespace

bool InitAdvQuery(entry::IAdvancedQuery& query, const ImpostazioniQuery& impostazioni,
                  const generation::ContestoGenerazione& contesto) {
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

}  // namespace mass_duplication
