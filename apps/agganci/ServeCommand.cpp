// agganci serve: the forms in a browser. The page, its session API and every form run in this process;
// the address printed at start-up (with its token) is the only way in.
#include <signal.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include <nlohmann/json.hpp>

#include "apps/agganci/ArgumentChecks.h"
#include "apps/agganci/Commands.h"
#include "apps/agganci/JsonValue.h"
#include "apps/agganci/Session.h"
#include "host/web/HttpServer.h"
#include "host/web/SessionTable.h"
#include "host/web/ThreadRouting.h"
#include "links_form/Register.h"

namespace app {
namespace {

struct ServeArgs {
    int port = 8377;
    long idleSeconds = 120;
    std::string assets = AGGANCI_WEB_DIR;
};

// A second Ctrl-C while the server stops: the program ends at once, as a command-line run does (a signal the
// program was started ignoring stays ignored).
void EndAtOnce(int signal) {
    sigset_t just;
    sigemptyset(&just);
    sigaddset(&just, signal);
    pthread_sigmask(SIG_UNBLOCK, &just, nullptr);
    raise(signal);
}

void Serve(const GlobalOptions& options, const ServeArgs& a) {
    OpenSession(options).connection->Close();  // the demo database is created when missing
    links_form::Register();
    host::web::InstallRouting();
    // The host runs in a browser front end: the log viewer offers the log as a download.
    setenv("WEBRender", "1", 1);

    // Ctrl-C and SIGTERM stop the server: a run at work stops between two articles, and the open forms are
    // released (each unloads).
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    host::web::ServerSettings settings;
    settings.session.connectionString = options.db;
    settings.session.ditta = options.company;
    settings.session.downloads = host::web::CreatePrivateFolder("agganci-serve-");
    settings.assets = a.assets;
    settings.port = a.port;
    settings.idleLimit = std::chrono::seconds(a.idleSeconds);
    host::web::HttpServer server(settings);
    if (!server.Bind()) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(a.port));
    // A script starting the server reads the address from the first line.
    if (options.json) std::cout << JsonText(nlohmann::json{{"serving", server.Address()}}, -1) << std::endl;
    else std::cout << "Serving the forms at " << server.Address() << std::endl;

    std::atomic<bool> served{false};
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        if (served) return;
        std::cout << "Stopping: runs at work stop after their current article, then the forms close "
                     "(Ctrl-C again ends at once)"
                  << std::endl;
        server.Stop();
        sigwait(&stopSignals, &signal);
        if (!served) EndAtOnce(signal);
    });
    server.Serve();
    // Served: wake the waiting thread so it can end.
    served = true;
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    // The last forms may still be closing: a Ctrl-C now ends the program at once.
    pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);
}

}  // namespace

void AddServeCommand(CLI::App& cli, GlobalOptions& options) {
    static ServeArgs args;
    auto* cmd = cli.add_subcommand("serve", "Serve the forms to a browser on 127.0.0.1 (the printed address "
                                            "carries the session token)");
    WholeNumber(cmd->add_option("--port", args.port, "Port on 127.0.0.1 (default 8377; 0 picks a free one)"), 0,
                65535);
    // The idle check compares in nanoseconds: a limit much past this one would overflow it.
    WholeNumber(cmd->add_option("--idle-seconds", args.idleSeconds,
                                "A form whose page stopped asking for this long is released (default 120)"),
                1, 2147483647);
    cmd->add_option("--assets", args.assets, "Folder of the page's files (default: the project's web/)");
    cmd->callback([&options] { Serve(options, args); });
}

}  // namespace app
