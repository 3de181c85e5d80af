#pragma once
// What every step of a generation run works with besides its own values: the run's connection and
// company, the host interface handed to the host's objects, the message service that reports errors and
// shows messages, and the processing log.
#include <functional>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Variant.h"
#include "entry/HostInterfaces.h"

namespace generation {

struct ContestoGenerazione {
    db::ConnectionPtr connessione;                     // the form's connection (Gcon_Connect)
    db::Variant ditta;                                 // the company (Ditta), a number
    std::shared_ptr<entry::Cinterface> programma;      // host interface (ActInterface)
    std::shared_ptr<entry::IMessageService> messaggi;  // message service (Gcls_Log); may be null
};

// Writes one line of the processing log: text and kind (2 information, 3 error).
using ScriviLogFn = std::function<void(const std::string& testo, long kind)>;

}  // namespace generation
