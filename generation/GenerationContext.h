#pragma once
// What every step of a run works with besides its own values: the run's connection and company, the host
// interface handed to the host's objects, the message service that reports errors, the program object
// whose result properties describe the last article, and the company parameters the run keeps.
#include <functional>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Variant.h"
#include "engine/RunConstants.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/HostInterfaces.h"

namespace generation {

struct GenerationContext {
    db::ConnectionPtr connessione;                      // the form's connection (Gcon_Connect)
    db::Variant ditta;                                  // the company (Ditta), a number
    std::shared_ptr<entry::Cinterface> programma;       // host interface (ActInterface)
    std::shared_ptr<entry::IMessageService> messaggi;   // message service (Gcls_Log); may be null
    // The members a caller may leave out of its braces start empty.
    std::string connectionString{};                     // handed to the host objects that open their own
    std::shared_ptr<entry::CLSFA_AGGANCI> program{};    // program object (ActiveClass); may be null
    std::shared_ptr<engine::RunConstants> constants{};  // the run's (ForOneRun); null: read every time
};

// The caller's context with company parameters kept for one run: a run starts from it, so that what a
// later run reads is never what an earlier one kept.
inline GenerationContext ForOneRun(GenerationContext context) {
    context.constants = std::make_shared<engine::RunConstants>();
    return context;
}

// The company as the host objects and the engine take it: a number when the text is one.
db::Variant CompanyValue(const std::string& text);

// Writes one line of the processing log: text and kind (2 information, 3 error).
using LogLineFn = std::function<void(const std::string& testo, long kind)>;

}  // namespace generation
