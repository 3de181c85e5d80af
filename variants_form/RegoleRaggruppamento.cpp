#include "variants_form/RegoleRaggruppamento.h"

#include "entry/CLSFA_AGGANCI.h"
#include "entry/MDLFA_AGGANCI.h"

namespace variants_form {

bool RaggruppamentoPersonalizzabile(const db::Variant& codiceVariante, const db::Variant& raggrAutomatico,
                                    const std::string& varianteColore, long tabVisible) {
    if (entry::Pfun_Numero(raggrAutomatico) == "1") return false;
    // Codes compare as the database compares them: case and trailing blanks do not count.
    const bool colore = db::SameText(entry::Pfun_Testo(codiceVariante), db::RTrim(varianteColore));
    return !(colore && tabVisible == entry::Util_Agganci);
}

std::string RaggrPersonalizzatoAmmesso(const std::string& testo) {
    return db::Len(testo) > kLunghezzaRaggrPersonalizzato ? db::Left(testo, kLunghezzaRaggrPersonalizzato) : testo;
}

}  // namespace variants_form
