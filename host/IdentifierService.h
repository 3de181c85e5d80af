#pragma once
// Global identifiers and the data linked to them. The linked data are the rows of AG01_ALLEGATI (notes and
// attachments) that name an identifier under an entity; copying them gives a duplicated row the same notes.
#include <cstdint>
#include <string>

#include "entry/HostInterfaces.h"
#include "entry/Trace.h"

namespace host {

class IdentifierService : public entry::IIdentifierService {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }

    // From the platform's GUID generator, made time-ordered (TimeOrdered, now); Error when it fails.
    std::string NuovoIdentificativo() override;

    // The rows keep their company, description, path and notes; they are numbered after the rows the
    // destination already has under its entity, and dated now.
    void CopiaDatiCollegati(const std::string& origine, const std::string& destinazione, long entitaOrigine,
                            long entitaDestinazione, long opzione1, long opzione2) override;

private:
    db::ConnectionPtr connection_;
};

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper-case.
std::string FormatIdentifier(const entry::Guid& guid);

// The GUID with the time in its first 48 bits and version 7 (the time-ordered kind), its random bits kept.
// The identifiers of a run then sort together: each new row lands at one end of the identifier's index instead
// of on a random page, which in a large database costs a page read and one more page written per row.
entry::Guid TimeOrdered(entry::Guid guid, std::uint64_t unixMilliseconds);

}  // namespace host
