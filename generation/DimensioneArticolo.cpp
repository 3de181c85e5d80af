#include "generation/DimensioneArticolo.h"

#include "db/Quote.h"
#include "entry/ErrorHandler.h"
#include "generation/HostObject.h"

namespace generation {

std::int16_t DimensioneArticolo(const GenerationContext& contesto) {
    std::int16_t result = kLunghezzaCodiceStandard;
    auto messaggi = contesto.messaggi;
    auto connessione = contesto.connessione;
    entry::Procedure("DimensioneArticolo", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            auto program = Richiesto(contesto.programma, "ActInterface", "DimensioneArticolo");
            if (Richiesto(program->ClsGlobal(), "ClsGlobal", "DimensioneArticolo")->CodiciStrutturati() <= 0) return;
            auto rs = Richiesto(connessione, "Connessione", "DimensioneArticolo")
                          ->Execute(" SELECT  SUM(MG6F_SIZE) AS DIMEART " + std::string(" FROM MG6F_DIMEART") +
                                    " WHERE MG6F_DITTA_CG18 = " + db::SqlNumber(contesto.ditta));
            if (!rs || rs->RecordCount() == 0) return;
            rs->MoveFirst();
            const db::Variant size = (*rs)["DIMEART"].Value();
            result = size.IsNull() || size.Text().empty() ? kLunghezzaCodiceStandard : size.CInt();
        })
        .Run();
    return result;
}

}  // namespace generation
