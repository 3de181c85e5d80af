#pragma once
// When the user may type a personalised grouping code for a variant (TXT_RAGGR), and how long it may be.
#include <string>

#include "db/Variant.h"

namespace variants_form {

// RAGGRPERSONALIZZATO is char(20).
inline constexpr std::size_t kLunghezzaRaggrPersonalizzato = 20;

// A personalised grouping only where it can take effect: not while the automatic grouping is on
// (RAGGRAUTOMATICO = 1), and not for the colour variant on the links tab, whose grouping comes from the
// link fabric and ignores a personalised code. On the mass tab the colour variant is copied like any
// other, so its personalised code counts. One rule for every moment the box is switched (row change,
// automatic grouping switched off), so the box never depends on how the user reached the row.
bool RaggruppamentoPersonalizzabile(const db::Variant& codiceVariante, const db::Variant& raggrAutomatico,
                                    const std::string& varianteColore, long tabVisible);

// The text as the list can hold it: at most 20 characters.
std::string RaggrPersonalizzatoAmmesso(const std::string& testo);

}  // namespace variants_form
