#pragma once
// Connection provider of the shell (Gcls_Connect): hands out new, unopened connections.
#include "entry/HostInterfaces.h"

namespace host {

class ConnectionProvider : public entry::IConnectionProvider {
public:
    db::ConnectionPtr Connection() override { return db::Connection::Create(); }
};

}  // namespace host
