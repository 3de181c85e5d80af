#pragma once
// A model duplicated into a new code through the shared step sequence, as the links tab (variants from the
// model, the colour of the link fabric) or the mass tab does it, with production data and bill of
// materials, in a transaction of its own - nested in the caller's, when one is open. Committed when every
// step succeeded, rolled back otherwise; the failing step and its error are returned ("" on success).
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Error.h"
#include "engine/CLSFA_DUPLICA.h"
#include "entry/HostInterfaces.h"
#include "generation/EngineSequence.h"

namespace testsupport {

struct SequenceCopy {
    std::string model;
    std::string target;
    std::string fabric = "TS-LINO-BLU";
    std::string description = "Camicia lino blu";
    std::string extendedDescription = "Camicia in lino blu";
    std::shared_ptr<engine::CLSFA_DUPLICA_Events> events;
    bool linksTab = true;
};

inline generation::SequenceSettings SettingsFor(const std::shared_ptr<entry::Cinterface>& program,
                                                const SequenceCopy& copy) {
    generation::SequenceSettings s;
    s.linksTab = copy.linksTab;
    s.fabric = copy.fabric;
    s.program = program;
    s.connectionString = "sqlite::memory:";
    s.ditta = db::Variant(1);
    s.fashionAttributes = true;
    s.productionSetting = "1";
    s.billOfMaterials = true;
    return s;
}

inline std::string RunSequence(const db::ConnectionPtr& conn, const std::shared_ptr<entry::Cinterface>& program,
                               const SequenceCopy& copy) {
    const generation::SequenceSettings s = SettingsFor(program, copy);
    generation::SequenceReport report;
    conn->BeginTrans();
    auto e = std::make_shared<engine::CLSFA_DUPLICA>();
    e->Connessione(conn);
    e->Initialize();
    e->Ditta(db::Variant(1));
    e->DescrizioneArticoloDaGenerare(db::Variant(copy.description));
    e->DescrizioneEstesaArticoloDaGenerare(db::Variant(copy.extendedDescription));
    if (copy.events) e->Advise(copy.events);
    generation::EngineSequence seq(*e, s, report);
    std::string error;
    try {
        if (!seq.Run(db::Variant(copy.model), db::Variant(copy.target))) error = report.step + ": " + seq.ErrorDetail();
    } catch (const db::Error& err) {
        error = err.Description();
    }
    if (error.empty()) conn->CommitTrans();
    else conn->RollbackTrans();
    return error;
}

}  // namespace testsupport
