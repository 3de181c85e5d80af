#pragma once
// Production cycles: the phases (PD53_CICLIFASI) of one cycle version copied onto another version of the
// company, whose header (PD52_ANAGCICLI) the caller has already written.
#include <string>

#include "entry/HostInterfaces.h"

namespace host {

class CycleService : public entry::ICycleService {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }
    void Ditta(const db::Variant& ditta) override { ditta_ = ditta; }

    // Error when the connection or the company is missing, or when the new version has no header.
    db::Variant CopiaCiclo(const std::string& cicloOrigine, const std::string& cicloNuovo,
                           const std::string& descrizione, const std::string& testo1, const std::string& testo2,
                           bool flag, const std::string& testo3, const std::string& testo4,
                           const db::Variant& versioneOrigine, const db::Variant& versioneNuova) override;

private:
    db::ConnectionPtr connection_;
    db::Variant ditta_;
};

}  // namespace host
