// Production: the article's production data, formulas and production cycle, and its bill of materials.
#include "engine/CLSFA_DUPLICA.h"
#include "engine/ProductionCopy.h"

namespace engine {

EnumMethodResult CLSFA_DUPLICA::DuplicazioneDatiProduzione(const db::Variant& Articolo_Origine,
                                                           const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneDatiProduzione", [&] {
        ProductionCopy steps(*this);
        const bool cicloPerArticolo = steps.CicloPerArticolo();
        const std::string cicloOrigine =
            steps.CopyProductionData(Articolo_Origine, Articolo_DaGenerare, cicloPerArticolo);
        steps.CopyFormulas(Articolo_Origine, Articolo_DaGenerare);
        if (cicloPerArticolo) steps.CopyCycle(cicloOrigine, Articolo_DaGenerare);
        return kvMethodOK;
    });
}

// The result is the only failure report of this operation: callers commit the new article on anything but
// kvMethodCanceled, so a bill of materials that could not be copied must never read as done. The host's
// processing writes the bill as one unit, so a failure leaves none of it; the error itself is left in the
// connection's Errors collection for the caller to report.
EnumMethodResult CLSFA_DUPLICA::DuplicazioneDiBa(const db::Variant& Articolo_Origine,
                                                 const db::Variant& Articolo_DaGenerare,
                                                 const std::shared_ptr<entry::Cinterface>& ActiveInterface,
                                                 const db::Variant& StringaConnessione, const db::Variant& Ditta) {
    try {
        RefuseWhileCopying();
        auto elab = entry::Host().CreateElabDisba();
        elab->Impostazioni(ProductionCopy::BillSettings(Articolo_Origine, Articolo_DaGenerare, ActiveInterface,
                                                        StringaConnessione, connessione_));
        elab->Elabora(Ditta);
        elab->Connection(nullptr);
        elab->ActiveInterface(nullptr);
        return kvMethodOK;
    } catch (const db::Error& e) {
        if (connessione_) connessione_->RecordError(e.WithSourcePrefix("DuplicazioneDiBa"));
    } catch (const std::exception& e) {
        if (connessione_)
            connessione_->RecordError(
                db::Error(db::errc::ProviderError, e.what()).WithSourcePrefix("DuplicazioneDiBa"));
    }
    return kvMethodCanceled;
}

}  // namespace engine
