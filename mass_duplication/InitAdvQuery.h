#pragma once
// Sets up the advanced query ADVQ_ARTICOLI of the selection step: the nine filter fields over the article
// master and, with fashion management on, the fashion tables.
#include <memory>
#include <string>

#include "entry/ControlsAdvancedQuery.h"
#include "generation/GenerationContext.h"

namespace mass_duplication {

inline constexpr const char* kGruppoStandard = "(Standard)";

struct ImpostazioniQuery {
    std::string ditta;            // Gstr_DittaCorrente
    long impostazioneHost = 0;    // the numeric setting the host's global object supplies
    std::string nomeEseguibile;   // the component's executable name: the settings key's first part
    bool fashionAttivo = false;
    bool finestraModale = false;  // opened by another program for one article
    std::string articoloOrigine;  // that article (Articolo_Origine)
};

// Errors are reported under "InitAdvQuery". True when the set-up ran to the end.
bool InitAdvQuery(entry::IAdvancedQuery& query, const ImpostazioniQuery& impostazioni,
                  const generation::ContestoGenerazione& contesto);

}  // namespace mass_duplication
