#pragma once
// A model copied into a new code through the product's per-article routine, as the links tab (variants
// from the model, the colour of the link fabric) or the mass tab does it, with production data and bill of
// materials but without the completion that follows, in a transaction of its own - nested in the caller's,
// when one is open. The reason it was not created is returned ("" on success).
#include <memory>
#include <string>

#include "db/Connection.h"
#include "engine/EngineEvents.h"
#include "engine/RunConstants.h"
#include "entry/HostInterfaces.h"
#include "generation/CreaArticolo.h"

namespace testsupport {

struct ArticleCopy {
    std::string model;
    std::string target;
    std::string fabric = "TS-LINO-BLU";
    std::string description = "Camicia lino blu";
    std::string extendedDescription = "Camicia in lino blu";
    std::shared_ptr<engine::CLSFA_DUPLICA_Events> events;
    bool linksTab = true;
    std::shared_ptr<engine::RunConstants> run;  // the run the copy is part of; none: a copy on its own
};

// Nothing asked, nothing logged: the outcome carries the reason.
class SilentPort : public generation::IRunPort {
public:
    SilentPort(std::shared_ptr<entry::IClsGlobal> global, db::ConnectionPtr connection)
        : log_(std::move(global), std::move(connection)) {}
    long Ask(const std::string&, long, const std::string&) override { return 7; }
    generation::ProcessingLog& Log() override { return log_; }

private:
    generation::ProcessingLog log_;
};

inline std::string CopyArticle(const db::ConnectionPtr& conn, const std::shared_ptr<entry::Cinterface>& program,
                               const ArticleCopy& copy) {
    generation::ArticleRequest r;
    r.source = copy.model;
    r.newCode = copy.target;
    r.origin = copy.linksTab ? generation::ArticleOrigin::LinkRow : generation::ArticleOrigin::MassTab;
    r.fabric = copy.fabric;
    r.description = copy.description;
    r.extendedDescription = copy.extendedDescription;
    r.mainFabric.codice = "TS-COTONE-BIANCO";  // the bill-of-materials step applies
    r.options.complete = false;
    r.events = copy.events;
    const generation::GenerationContext context{conn,    db::Variant(1),    program, nullptr, "sqlite::memory:",
                                                nullptr, copy.run};
    SilentPort port(program->ClsGlobal(), conn);
    const auto outcome = generation::CreaArticolo(context, r, port);
    return outcome.state == generation::ArticleState::Created ? std::string() : outcome.reason;
}

}  // namespace testsupport
