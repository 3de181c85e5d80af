#pragma once
// Global identifiers and the data linked to them. The linked data are the rows of AG01_ALLEGATI (notes and
// attachments) that name an identifier under an entity; copying them gives a duplicated row the same notes.
#include <string>

#include "entry/HostInterfaces.h"
#include "entry/Trace.h"

namespace host {

class IdentifierService : public entry::IIdentifierService {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }

    // From the platform's GUID generator; Error when it fails.
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

}  // namespace host
