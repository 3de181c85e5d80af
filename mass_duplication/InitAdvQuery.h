#pragma once
// The advanced query ADVQ_ARTICOLI of the selection step: the nine filter fields over the article master
// (with, when fashion management is on, the fashion tables) and the value lists of those fields.
#include <memory>
#include <string>

#include "entry/ControlsAdvancedQuery.h"
#include "entry/LookupServices.h"
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
                  const generation::GenerationContext& contesto);

// The value list of a filter field, asked of the warehouse lookup service by the field's caption;
// subfamily, group and subgroup lists are narrowed by the values the query holds for family, subfamily
// and group, on the side of a range the request asks for. A caption that is not a defined field leaves
// the request empty. Errors are reported under "ADVQ_ARTICOLI_StartLookup".
bool ADVQ_ARTICOLI_StartLookup(const entry::IAdvancedQuery& query, entry::QueryLookupRequest& richiesta,
                               const std::shared_ptr<entry::ILookupService>& servizio,
                               const generation::GenerationContext& contesto);

}  // namespace mass_duplication
