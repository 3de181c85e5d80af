#pragma once
// The bill-of-materials check: whether an article has a standard bill of materials, and whether its
// product type provides for one. Works on the program's connection.
#include "entry/HostInterfaces.h"

namespace host {

class ControlloDistinta : public entry::IControlloDistinta {
public:
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    bool EsisteDistinta(const std::string& articolo) override;
    // A product type with PD10_FLGDISBA = 0 does not provide for one; an article without production data
    // or without a product type does.
    bool TipologiaPrevedeDistinta(const std::string& articolo) override;

private:
    db::Connection& Connection() const;
    std::string Company() const;
    std::shared_ptr<entry::Cinterface> program_;
};

}  // namespace host
