#pragma once
// The browser shell's HTTP side: the page and its assets, and the session API the page drives. It
// listens on the loopback address only, refuses a request whose Host header is not that address (a
// page of another site resolving its own name to 127.0.0.1), and answers only requests that carry the
// token printed at start-up.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "host/web/SessionTable.h"

namespace host::web {

struct ServerSettings {
    SessionSettings session;
    std::string assets;  // folder of the page's static files
    int port = 8377;     // 0: any free port
    std::chrono::seconds idleLimit{120};
    std::chrono::seconds leaveGrace{5};  // a page that left may come back (a reload) within this
    std::string token;   // empty: a random one
};

class HttpServer {
public:
    explicit HttpServer(ServerSettings settings);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds the port; False when it is taken.
    bool Bind();
    int Port() const { return port_; }
    const std::string& Token() const { return settings_.token; }
    std::string Address() const;
    // Serves until Stop.
    void Serve();
    void Stop();

private:
    class Routes;
    ServerSettings settings_;
    int port_ = 0;
    std::unique_ptr<Routes> routes_;
};

}  // namespace host::web
