#pragma once
// The shell's warehouse and fashion lookup and decode services: for each kind of value, a list of its
// codes and descriptions for the current company, and the statement that finds one code's description.
// Both areas know every kind (entry::lookup); the area only names the service.
#include <memory>
#include <string>
#include <vector>

#include "entry/LookupServices.h"

namespace host {

class LookupService : public entry::ILookupService {
public:
    explicit LookupService(entry::ServiceArea area) : area_(area) {}
    void Initialize(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    entry::LookupDefinition Prepara(const std::string& kind, const std::vector<db::Variant>& parameters = {}) override;
    void Release() override { program_.reset(); }

    entry::ServiceArea Area() const { return area_; }
    bool Initialized() const { return static_cast<bool>(program_); }

private:
    entry::ServiceArea area_;
    std::shared_ptr<entry::Cinterface> program_;
};

class DecodeService : public entry::IDecodeService {
public:
    explicit DecodeService(entry::ServiceArea area) : area_(area) {}
    void Initialize(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    entry::DecodeDefinition Decodifica(const std::string& kind, const std::string& text,
                                       const std::vector<db::Variant>& parameters = {}) override;
    void Release() override { program_.reset(); }

    entry::ServiceArea Area() const { return area_; }
    bool Initialized() const { return static_cast<bool>(program_); }

private:
    entry::ServiceArea area_;
    std::shared_ptr<entry::Cinterface> program_;
};

}  // namespace host
