#include "generation/Regeneration.h"

#include "generation/ArticleRemoval.h"
#include "generation/HostObject.h"
#include "db/Transaction.h"

namespace generation {

bool RigeneraArticolo(const GenerationContext& contesto, const std::string& codice,
                      const std::function<bool()>& crea) {
    auto& c = *Richiesto(contesto.connessione, "Connessione", "RigeneraArticolo");
    db::Transaction unit(c);
    // A refused removal has shown its reason; the creation then finds the article still there.
    EliminaArticoloGenerato(contesto, codice);
    if (!crea()) {
        unit.Rollback();
        return false;
    }
    unit.Commit();
    return true;
}

}  // namespace generation
