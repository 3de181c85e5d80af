#pragma once
// Bill-of-materials processing: copies the bill of one article to another (header PD95_DISBA with a new
// database-numbered identifier, lines PD96_LEGAMIDISBA pointing to it) and deletes bills by identifier.
// Both work on the connection they are given, as one unit nested in the caller's transaction.
#include <string>
#include <vector>

#include "entry/HostInterfaces.h"

namespace host {

class ClsElabDisba : public entry::IElabDisba {
public:
    void Connection(const db::ConnectionPtr& c) override { settings_.connessione = c; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { settings_.programma = program; }
    void Impostazioni(const entry::ImpostazioniElabDisba& settings) override { settings_ = settings; }
    const entry::ImpostazioniElabDisba& Impostazioni() const { return settings_; }

    // The new header takes the destination's article, type and code (and option, when one is given), the
    // user of the settings and the insertion time of now; every other column, and every line, as the source.
    void Elabora(const db::Variant& ditta) override;
    void EliminaDistinte(const std::string& elenco) override;

private:
    db::Connection& RequireConnection() const;

    entry::ImpostazioniElabDisba settings_;
};

// The identifiers of a list "(12, 15)" (brackets optional, blanks ignored); empty for "()". Error 13 when
// an item is not a whole number.
std::vector<std::string> IdentificativiDistinte(const std::string& elenco);

}  // namespace host
