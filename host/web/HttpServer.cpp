#include "host/web/HttpServer.h"

#include <httplib.h>

#include <atomic>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/web/UserActions.h"

namespace host::web {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {
constexpr auto kLongPoll = std::chrono::seconds(20);
// Every open tab keeps one request waiting; the pool must hold them all and still take actions.
constexpr std::size_t kThreads = 96;
// An action, an answer or a file name is a few hundred bytes; a body past this is not the page's.
constexpr std::size_t kBodyLimit = 1024 * 1024;
// An idle connection holds a thread of the pool for this long, and stopping the server waits for every thread:
// kept short so that Ctrl-C ends the server promptly (a new connection on loopback costs next to nothing).
constexpr time_t kKeepAliveSeconds = 1;

const char* ContentType(const fs::path& file) {
    const auto ext = file.extension().string();
    if (ext == ".html") return "text/html; charset=utf-8";
    if (ext == ".js") return "text/javascript; charset=utf-8";
    if (ext == ".css") return "text/css; charset=utf-8";
    if (ext == ".svg") return "image/svg+xml";
    return "application/octet-stream";
}

bool ReadFile(const fs::path& path, std::string& contents) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;  // a folder opens as an empty stream
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    contents = s.str();
    return true;
}

void Refuse(httplib::Response& res, int status, const std::string& why) {
    res.status = status;
    res.set_content(json{{"error", why}}.dump(), "application/json");
}

// Compared in constant time: how soon a wrong token is refused tells nothing of the right one.
bool SameToken(const std::string& given, const std::string& token) {
    if (given.size() != token.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0;
}

bool WholeNumber(const json& body, const char* key) { return body.contains(key) && body[key].is_number_integer(); }

// A number of the request's address; 0 when it is missing or not a whole number: the page then gets all
// there is, as on its first request.
long NumberParam(const httplib::Request& req, const char* key) {
    const std::string text = req.get_param_value(key);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The only socket option: without SO_REUSEPORT (the library's default sets it) a second server on a port
// in use fails to bind instead of sharing the connections of the first.
void ReuseAddressOnly(socket_t sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

// A handler that threw: the detail goes to whoever runs the server, never into the reply.
void InternalError(const httplib::Request& req, httplib::Response& res, const std::exception_ptr& error) {
    std::string what = "unknown exception";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {  // no text to give: logged as unknown
    }
    std::cerr << ("agganci serve: " + req.method + " " + req.path + ": " + what + "\n") << std::flush;
    Refuse(res, 500, "internal error");
}

}  // namespace

class HttpServer::Routes {
public:
    Routes(const ServerSettings& settings, int& port)
        : settings_(settings), port_(port), sessions_(settings.session, settings.idleLimit, settings.leaveGrace) {
        server_.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
        server_.set_socket_options(ReuseAddressOnly);
        server_.set_payload_max_length(kBodyLimit);
        server_.set_keep_alive_timeout(kKeepAliveSeconds);
        server_.set_exception_handler(InternalError);
        server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            return Guard(req, res) ? httplib::Server::HandlerResponse::Unhandled
                                   : httplib::Server::HandlerResponse::Handled;
        });
        server_.set_default_headers({{"Cache-Control", "no-store"}, {"X-Content-Type-Options", "nosniff"},
                                     {"Referrer-Policy", "no-referrer"}});
        server_.Get("/", [this](const httplib::Request&, httplib::Response& res) { Asset("index.html", res); });
        // The page has no icon; browsers ask for one anyway.
        server_.Get("/favicon.ico", [](const httplib::Request&, httplib::Response& res) { res.status = 204; });
        server_.Get(R"(/assets/([A-Za-z0-9_.-]+))",
                    [this](const httplib::Request& req, httplib::Response& res) { Asset(req.matches[1], res); });
        server_.Post("/api/sessions", [this](const httplib::Request&, httplib::Response& res) {
            auto s = sessions_.Open();
            if (!s) return Refuse(res, 503, "too many forms open: close a tab, or wait until an idle one is released");
            res.set_content(json{{"sid", s->Id()}}.dump(), "application/json");
        });
        server_.Get("/api/state", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            // The page says which processing log it shows and how many of its lines it holds.
            const LogHeld held{NumberParam(req, "log"), NumberParam(req, "lines")};
            res.set_content(s->Wait(NumberParam(req, "since"), held, kLongPoll), "application/json");
        });
        server_.Post("/api/action", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            auto action = json::parse(req.body, nullptr, false);
            if (!action.is_object()) return Refuse(res, 400, "the action is not a JSON object");
            if (const auto field = MistypedField(action); !field.empty())
                return Refuse(res, 400, "the action's field \"" + field + "\" has the wrong type");
            s->Post(std::move(action));
            res.set_content("{}", "application/json");
        });
        server_.Post("/api/answer", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            const auto a = json::parse(req.body, nullptr, false);
            if (!a.is_object()) return Refuse(res, 400, "the answer is not a JSON object");
            if (!WholeNumber(a, "id") || !WholeNumber(a, "code") || (a.contains("text") && !a["text"].is_string()))
                return Refuse(res, 400, "the answer needs a whole-number id and code, and its text as text");
            const Reply reply{a["code"].get<long>(), a.value("text", std::string())};
            if (!s->Answer(a["id"].get<long>(), reply)) return Refuse(res, 409, "no such question is waiting");
            res.set_content("{}", "application/json");
        });
        server_.Post("/api/release", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            s->Release();
            res.set_content("{}", "application/json");
        });
        server_.Post("/api/leave", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            s->Leave();
            res.set_content("{}", "application/json");
        });
        server_.Get("/api/file", [this](const httplib::Request& req, httplib::Response& res) {
            auto s = Session(req, res);
            if (!s) return;
            const std::string path = s->DownloadFile(req.get_param_value("name"));
            std::string contents;
            if (path.empty() || !ReadFile(path, contents)) return Refuse(res, 404, "no such file");
            const std::string name = fs::path(path).filename().string();
            res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
            res.set_content(contents, "text/plain; charset=utf-8");
        });
    }

    bool Bind() {
        if (settings_.port == 0) {
            port_ = server_.bind_to_any_port("127.0.0.1");
            return port_ > 0;
        }
        port_ = settings_.port;
        return server_.bind_to_port("127.0.0.1", settings_.port);
    }

    void Serve() {
        std::thread sweeper([this] {
            while (!stopping_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                sessions_.Sweep();
            }
        });
        server_.listen_after_bind();
        stopping_ = true;
        sweeper.join();
    }

    void Stop() {
        // The forms close first: the pages' waiting requests then return, and the server can stop.
        sessions_.ReleaseAll();
        server_.stop();
    }

private:
    bool Guard(const httplib::Request& req, httplib::Response& res) {
        const std::string host = req.get_header_value("Host");
        const std::string port = ":" + std::to_string(port_);
        if (host != "127.0.0.1" + port && host != "localhost" + port) {
            Refuse(res, 403, "wrong Host header");
            return false;
        }
        // The assets (and the missing icon) hold no data: the page itself carries the token in its address.
        if (req.path.rfind("/assets/", 0) == 0 || req.path == "/favicon.ico") return true;
        if (!SameToken(req.get_param_value("token"), settings_.token)) {
            Refuse(res, 403, "missing or wrong token");
            return false;
        }
        return true;
    }

    std::shared_ptr<FormSession> Session(const httplib::Request& req, httplib::Response& res) {
        auto s = sessions_.Find(req.get_param_value("sid"));
        if (!s) Refuse(res, 404, "no such session");
        return s;
    }

    void Asset(const std::string& name, httplib::Response& res) {
        std::string contents;
        const fs::path path = fs::path(settings_.assets) / name;
        if (!ReadFile(path, contents)) return Refuse(res, 404, "no such file");
        res.set_content(contents, ContentType(path));
    }

    const ServerSettings& settings_;
    int& port_;
    SessionTable sessions_;
    httplib::Server server_;
    std::atomic<bool> stopping_{false};
};

HttpServer::HttpServer(ServerSettings settings) : settings_(std::move(settings)) {
    if (settings_.token.empty()) settings_.token = RandomId();
    routes_ = std::make_unique<Routes>(settings_, port_);
}

HttpServer::~HttpServer() = default;

bool HttpServer::Bind() { return routes_->Bind(); }

std::string HttpServer::Address() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + settings_.token;
}

void HttpServer::Serve() { routes_->Serve(); }
void HttpServer::Stop() { routes_->Stop(); }

}  // namespace host::web
