#pragma once
// The shell's global object: session data (connection string, company, user) and the company's settings,
// read from the company database so that one database is a complete company: the fashion parameters
// (FA00_PARAMETRI, one row per company, each column a setting by its own name) and our settings table
// AG00_IMPOSTAZIONI (key, value).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"
#include "entry/HostInterfaces.h"

namespace host {

class GlobalObject : public entry::IClsGlobal {
public:
    // Opens a connection of its own with `connectionString`, reads the settings of `ditta` and closes it.
    GlobalObject(std::string connectionString, long ditta);
    // Reads the settings through `connection` (open); the connection is not kept.
    GlobalObject(std::string connectionString, long ditta, db::Connection& connection);

    std::string ConnectionString() const override { return connectionString_; }
    std::string DittaCorrente() const override { return std::to_string(ditta_); }
    std::string VarianteColore() const override;
    std::string UtenteDescrizione() const override;
    std::string CartellaLog() const override;  // "" or a folder ending with '/'
    db::Variant Impostazione(const std::string& name) const override;
    void Deregistra(const std::shared_ptr<entry::Cinterface>& program) override;

    long Ditta() const { return ditta_; }
    // Reads the settings again (after they were changed in the database).
    void Ricarica(db::Connection& connection);
    // Sets a setting for this session only (the database is not changed).
    void Imposta(const std::string& name, const db::Variant& value);

    // Programs the shell lists as open; Deregistra removes one.
    void Registra(const std::shared_ptr<entry::Cinterface>& program);
    std::vector<std::shared_ptr<entry::Cinterface>> Programmi() const;

private:
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::string connectionString_;
    long ditta_;
    std::map<std::string, db::Variant, NoCase> settings_;
    // Weak: a program holds the global object, so a strong reference back would keep both alive.
    std::vector<std::weak_ptr<entry::Cinterface>> programs_;
};

}  // namespace host
