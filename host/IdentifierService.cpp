#include "host/IdentifierService.h"

#include <chrono>

#include "db/Quote.h"
#include "host/CopyRows.h"

namespace host {

entry::Guid TimeOrdered(entry::Guid guid, std::uint64_t unixMilliseconds) {
    guid.Data1 = static_cast<std::uint32_t>(unixMilliseconds >> 16);
    guid.Data2 = static_cast<std::uint16_t>(unixMilliseconds & 0xFFFF);
    guid.Data3 = static_cast<std::uint16_t>((guid.Data3 & 0x0FFF) | 0x7000);
    return guid;
}

std::string FormatIdentifier(const entry::Guid& guid) {
    const std::string digits = entry::FormatGuid(guid);
    return digits.substr(0, 8) + "-" + digits.substr(8, 4) + "-" + digits.substr(12, 4) + "-" + digits.substr(16, 4) +
           "-" + digits.substr(20);
}

std::string IdentifierService::NuovoIdentificativo() {
    entry::Guid guid;
    if (entry::CoCreateGuid(&guid) != 0)
        throw db::Error(db::errc::ProviderError, "Impossibile creare un nuovo identificativo", "IdentifierService");
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return FormatIdentifier(TimeOrdered(guid, static_cast<std::uint64_t>(now.count())));
}

void IdentifierService::CopiaDatiCollegati(const std::string& origine, const std::string& destinazione,
                                           long entitaOrigine, long entitaDestinazione, long opzione1, long opzione2) {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", "IdentifierService");
    // Only the plain copy exists here; another variant must not pass for it.
    if (opzione1 != 0 || opzione2 != 0)
        throw db::Error(db::errc::InvalidProcedureCall,
                        "Opzioni di copia dei dati collegati non gestite: " + std::to_string(opzione1) + ", " +
                            std::to_string(opzione2),
                        "IdentifierService");
    // The identifiers are markers, the entities (a handful of kinds) stay in the text.
    const db::Variant target(destinazione);
    const std::string entity = std::to_string(entitaDestinazione);
    CopyRows(*connection_, "AG01_ALLEGATI",
             {{"AG01_GUIDRIF", "?", {target}},
              {"AG01_ENTITA", entity},
              {"AG01_PROG",
               "AG01_PROG + COALESCE((SELECT MAX(D.AG01_PROG) FROM AG01_ALLEGATI D WHERE D.AG01_GUIDRIF = ? AND "
               "D.AG01_ENTITA = " + entity + "), 0)",
               {target}}},
             {"AG01_DTINS"}, "AG01_GUIDRIF = ? AND AG01_ENTITA = " + std::to_string(entitaOrigine), true,
             {db::Variant(origine)});
}

}  // namespace host
