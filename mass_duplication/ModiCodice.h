#pragma once
// The modes the combo CBO_PREFISSO offers: adding a prefix only when the company does not build its codes
// from segments (a prefix would shift every segment), the mask always, the complete new code only for a
// single article (two articles cannot get the same code).
#include <string>
#include <vector>

#include "generation/GenerationContext.h"

namespace mass_duplication {

struct ModoCodice {
    std::string key;
    std::string caption;
    friend bool operator==(const ModoCodice&, const ModoCodice&) = default;
};

// In key order.
std::vector<ModoCodice> ModiOfferti(bool codiceStrutturato, long articoliSelezionati);

// True when the company has a structured article code (rows in MG6F_DIMEART). Errors read as False: the
// prefix mode is then offered, and the length check of the run still applies.
bool CodiceStrutturato(const generation::GenerationContext& contesto);

}  // namespace mass_duplication
