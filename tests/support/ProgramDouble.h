#pragma once
// Test doubles of the shell's program interface (Cinterface) and of its global object (ClsGlobal), for
// every test that hands the component a program: the engine's ActInterface, the forms' ActiveInterface.
//
//   auto program = testsupport::ProgramOnDatabase(conn);          // settings read from the test company
//   auto program = testsupport::ProgramWith(global);              // settings set by the test (GlobalDouble)
//   engine->ActInterface(testsupport::AsActInterface(program));
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Quote.h"
#include "db/Variant.h"
#include "entry/CinterfaceBase.h"
#include "entry/HostInterfaces.h"
#include "host/GlobalObject.h"

namespace testsupport {

// A program interface that stores and returns every member, as the shell's programs do.
class ProgramDouble : public entry::CinterfaceBase {};

// Company settings set directly by the test, without a database behind them.
class GlobalDouble : public entry::IClsGlobal {
public:
    std::string connectionString;
    std::string dittaCorrente = "1";
    std::string varianteColore;
    std::string utenteDescrizione;
    std::string cartellaLog;
    std::map<std::string, db::Variant> settings;  // Impostazione(name); Empty when missing
    // Which programs deregistered, by address only: holding them would tie each program to this object in a cycle.
    std::vector<const entry::Cinterface*> deregistered;

    std::string ConnectionString() const override { return connectionString; }
    std::string DittaCorrente() const override { return dittaCorrente; }
    std::string VarianteColore() const override { return varianteColore; }
    std::string UtenteDescrizione() const override { return utenteDescrizione; }
    std::string CartellaLog() const override { return cartellaLog; }
    db::Variant Impostazione(const std::string& name) const override {
        const auto it = settings.find(name);
        return it == settings.end() ? db::Variant() : it->second;
    }
    void Deregistra(const std::shared_ptr<entry::Cinterface>& program) override {
        deregistered.push_back(program.get());
    }
};

// A program whose global object is `global`, and whose connection is `connection` when given.
inline std::shared_ptr<ProgramDouble> ProgramWith(const std::shared_ptr<entry::IClsGlobal>& global,
                                                  const db::ConnectionPtr& connection = nullptr) {
    auto program = std::make_shared<ProgramDouble>();
    program->ClsGlobal(global);
    program->Connection(connection);
    return program;
}

// A program whose global object is the shell's own (host::GlobalObject), reading the settings of company
// `ditta` through the test's open connection. Settings written later need a new program (or Ricarica).
inline std::shared_ptr<ProgramDouble> ProgramOnDatabase(const db::ConnectionPtr& connection, long ditta = 1) {
    auto global = std::make_shared<host::GlobalObject>(connection->ConnectionString(), ditta, *connection);
    return ProgramWith(global, connection);
}

// Stores a company setting (AG00_IMPOSTAZIONI) that the shell's global object hands out, e.g.
// SetCompanySetting(*conn, 1, "VarianteColore", "COL").
inline void SetCompanySetting(db::Connection& connection, long ditta, const std::string& key, const std::string& value) {
    const std::string company = db::SqlNumber(db::Variant(ditta));
    connection.Execute("DELETE FROM AG00_IMPOSTAZIONI WHERE AG00_DITTA_CG18 = " + company +
                           " AND AG00_CHIAVE = " + db::SqlText(key),
                       nullptr, db::adExecuteNoRecords);
    connection.Execute("INSERT INTO AG00_IMPOSTAZIONI (AG00_DITTA_CG18, AG00_CHIAVE, AG00_VALORE) VALUES (" + company +
                           ", " + db::SqlText(key) + ", " + db::SqlText(value) + ")",
                       nullptr, db::adExecuteNoRecords);
}

// The program as a Variant, the way the engine's ActInterface takes it.
inline db::Variant AsActInterface(const std::shared_ptr<entry::Cinterface>& program) { return db::Variant(program); }

}  // namespace testsupport
