#include "host/web/FormSession.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "entry/CLSFA_AGGANCI.h"
#include "entry/ErrorHandler.h"
#include "entry/Form.h"
#include "generation/RunStop.h"
#include "host/GlobalObject.h"
#include "host/LookupServices.h"
#include "host/Navigator.h"
#include "host/controls/StatusBar.h"
#include "host/web/ControlModel.h"
#include "host/web/ThreadRouting.h"
#include "host/web/UserActions.h"
#include "host/web/WebControls.h"

namespace host::web {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {
// A run refreshes its progress far more often than a page can draw it.
constexpr auto kPublishInterval = std::chrono::milliseconds(150);
constexpr std::uintmax_t kViewerLimit = 4 * 1024 * 1024;
constexpr auto kDumpSafely = json::error_handler_t::replace;  // a log line may hold bytes that are not UTF-8

std::string SafeName(const std::string& name) {
    std::string safe;
    for (char c : fs::path(name).filename().string())
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_') safe += c;
    if (safe.empty() || safe.front() == '.') safe = "file" + safe;
    return safe;
}

// A text field of an action, where reading it must not fail: empty when it is missing or not text.
std::string TextOrNothing(const json& action, const char* key) {
    const auto it = action.find(key);
    return it != action.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// The first line the viewer shows of a file cut to its end.
std::string CutNote(const std::string& path, bool downloadable) {
    return "--- Il file è troppo lungo per mostrarlo tutto: seguono le sue ultime righe. " +
           (downloadable ? std::string("Il file intero si ottiene con «Scarica».") : "Il file intero è " + path + ".") +
           " ---\n";
}
}  // namespace

std::string ViewerText(const std::string& path, std::uintmax_t limit, bool downloadable) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const auto end = in.tellg();
    if (!in || end < 0) throw db::Error(53, "File not found", path);
    const auto size = static_cast<std::uintmax_t>(end);
    // One byte before the cut as well: when it ends a line, the text starts with the next whole one.
    const std::uintmax_t from = size > limit ? size - limit - 1 : 0;
    std::string text(static_cast<std::size_t>(size - from), '\0');
    in.seekg(static_cast<std::streamoff>(from));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in) throw db::Error(57, "Device I/O error", path);
    if (size <= limit) return text;
    // A line longer than the limit stays cut: there is no line end to cut at.
    if (const auto lineEnd = text.find('\n'); lineEnd != std::string::npos) text.erase(0, lineEnd + 1);
    else text.erase(0, 1);
    return CutNote(path, downloadable) + text;
}

// The session's shell: what the ERP's desktop holds for one open program, created, used and destroyed
// on the worker thread only.
class FormSession::Worker : public entry::IShell {
public:
    Worker(FormSession& session) : session_(session) {
        const auto& s = session.settings_;
        connection_ = db::Connection::Create();
        connection_->Open(s.connectionString);
        global_ = std::make_shared<GlobalObject>(s.connectionString, s.ditta, *connection_);
        navigator_ = std::make_shared<Navigator>();
        statusBar_ = std::make_shared<controls::StatusBar>();
        host_ = std::make_shared<BrowserHost>(session);
    }

    ~Worker() override {
        program_.reset();
        forms_.clear();
    }

    entry::IHostFactory* Host() { return host_.get(); }
    std::string LogFolder() const { return global_->CartellaLog(); }

    void Open() {
        program_ = entry::CLSFA_AGGANCI::Create();
        global_->Registra(program_);
        navigator_->Registra(program_);
        program_->ClsGlobal(global_);
        program_->ActiveNavigator(navigator_);
        program_->Connection(connection_);
        program_->StatusBar(statusBar_);
        program_->ClsVoceMenu(std::make_shared<db::Object>());
        program_->CanInsert(true);
        program_->CanDelete(true);
        program_->CanUpdate(true);
        program_->CanQbe(true);
        program_->IsActive(true);
        program_->Caption(db::Variant(std::string("Duplicazione articolo")));
        program_->Articolo_Origine(db::Variant(std::string()));
        program_->Tab_Attivo(entry::Util_Agganci);
        program_->TipoAnagrafica(entry::KvEnumTipoAnagraficaArticoli_Estesa);
        program_->ShowForm();
    }

    // The ERP closes the program's window; its unload runs.
    void Close() {
        if (program_ && AnyOpen()) program_->CloseForm();
    }

    std::vector<std::shared_ptr<entry::Form>> OpenForms() const {
        std::vector<std::shared_ptr<entry::Form>> open;
        for (const auto& f : forms_)
            if (auto form = f.lock(); form && form->Loaded()) open.push_back(form);
        return open;
    }
    bool AnyOpen() const { return !OpenForms().empty(); }

    std::shared_ptr<entry::Form> FormNamed(const std::string& name) const {
        const auto open = OpenForms();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (name.empty() || db::SameText((*it)->Name(), name)) return *it;
        return nullptr;
    }

    controls::StatusBar& StatusBar() { return *statusBar_; }

    // --- entry::IShell ---
    std::shared_ptr<entry::IControl> CreateControl(entry::ControlKind kind, const std::string& name) override {
        return NewWebControl(kind, name, [this](const std::string& cs) { return Resolve(cs); },
                             [this] { session_.PublishSoon(); });
    }
    std::shared_ptr<entry::ILookupService> CreateLookupService(entry::ServiceArea area) override {
        return std::make_shared<LookupService>(area);
    }
    std::shared_ptr<entry::IDecodeService> CreateDecodeService(entry::ServiceArea area) override {
        return std::make_shared<DecodeService>(area);
    }
    void FormShown(entry::Form& form) override {
        Forget(form);
        forms_.push_back(form.weak_from_this());
    }
    void FormUnloaded(entry::Form& form) override {
        Forget(form);
        // One line per window that closes, so whoever runs the server sees forms being released.
        std::cout << ("Session " + session_.Id() + ": " + form.Name() + " unloaded\n") << std::flush;
    }
    // A modal window: the person works on it (the worker takes their actions) until it is unloaded.
    void RunModal(entry::Form& form) override {
        session_.Publish(true);
        session_.Pump([&] { return form.Loaded(); });
        // Nobody left to close it: the window goes as when its close button is pressed.
        if (form.Loaded()) form.Unload(entry::vbFormControlMenu);
    }

private:
    void Forget(entry::Form& form) {
        std::erase_if(forms_, [&](const std::weak_ptr<entry::Form>& f) {
            auto held = f.lock();
            return !held || held.get() == &form;
        });
    }
    db::ConnectionPtr Resolve(const std::string& cs) const {
        auto usable = [&](const db::ConnectionPtr& c) {
            return c && c->State() == db::adStateOpen && (cs.empty() || c->ConnectionString() == cs);
        };
        if (program_ && usable(program_->Connection())) return program_->Connection();
        return usable(connection_) ? connection_ : nullptr;
    }

    FormSession& session_;
    db::ConnectionPtr connection_;
    std::shared_ptr<GlobalObject> global_;
    std::shared_ptr<Navigator> navigator_;
    std::shared_ptr<controls::StatusBar> statusBar_;
    std::shared_ptr<BrowserHost> host_;
    std::shared_ptr<entry::CLSFA_AGGANCI> program_;
    std::vector<std::weak_ptr<entry::Form>> forms_;
};

FormSession::FormSession(std::string id, SessionSettings settings)
    : id_(std::move(id)), settings_(std::move(settings)) {
    snapshot_ = json{{"v", 0}, {"sid", id_}, {"busy", true}, {"forms", json::array()}}.dump();
    thread_ = std::thread([this] { Run(); });
}

FormSession::~FormSession() {
    Release();
    if (thread_.joinable()) thread_.join();
    // The files offered for download go with the form: nobody can ask for them any more.
    std::error_code error;
    fs::remove_all(settings_.downloads, error);
    if (error) std::cerr << ("Session " + id_ + ": " + settings_.downloads + ": " + error.message() + "\n");
}

void FormSession::Run() {
    generation::WatchStopFlag(&stopRun_);
    try {
        worker_ = std::make_unique<Worker>(*this);
        logFolder_ = worker_->LogFolder();
        std::error_code ignored;  // a missing folder would switch the processing log off
        if (!logFolder_.empty()) fs::create_directories(logFolder_, ignored);
        BindWorker({worker_.get(), worker_->Host()});
        busy_ = true;
        worker_->Open();
        busy_ = false;
        Publish(true);
        Pump([this] { return worker_->AnyOpen(); });
        // Released, or the person closed the window: the window closes with its unload.
        worker_->Close();
    } catch (...) {
        notice_ = entry::ToError(std::current_exception(), "agganci serve").Description();
        std::cerr << ("Session " + id_ + ": " + notice_ + "\n") << std::flush;
    }
    try {
        worker_.reset();
    } catch (...) {
    }
    UnbindWorker();
    generation::WatchStopFlag(nullptr);
    busy_ = false;
    dialog_ = nullptr;
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    Publish(false);
}

void FormSession::Pump(const std::function<bool()>& going) {
    while (going()) {
        auto action = Next();
        if (!action) return;
        Execute(*action);
    }
}

std::optional<json> FormSession::Next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return releasing_ || !actions_.empty(); });
    if (releasing_) return std::nullopt;
    json action = std::move(actions_.front());
    actions_.pop_front();
    return action;
}

void FormSession::Execute(const json& action) {
    // Whatever the action holds, a failing one is a notice: it never takes the form (or a modal window) down.
    try {
        if (action.value("do", std::string()) == "dismiss") {
            // The page closed a panel of the shell's own (the file viewer, a lookup list).
            (action.value("panel", std::string()) == "viewer" ? viewer_ : list_) = nullptr;
        } else {
            busy_ = true;
            notice_.clear();
            list_ = nullptr;
            const auto form = worker_->FormNamed(action.value("form", std::string()));
            if (!form) throw db::Error(db::errc::InvalidProcedureCall, "No such form is open");
            json reply = ApplyAction(*form, action);
            if (!reply.is_null()) list_ = std::move(reply);
        }
    } catch (...) {
        notice_ = entry::ToError(std::current_exception(), TextOrNothing(action, "control")).Description();
    }
    busy_ = false;
    ++done_;
    Publish(true);
}

void FormSession::Publish(bool full) {
    json forms = json::array();
    if (worker_) {
        for (const auto& form : worker_->OpenForms()) {
            json described = DescribeForm(*form, full);
            if (!full) {
                // Grids are not read mid-run: the page keeps the rows it has.
                for (const auto& old : lastForms_)
                    if (old["name"] == described["name"])
                        for (auto& c : described["controls"])
                            if (c.value("stale", false))
                                for (const auto& o : old["controls"])
                                    if (o["name"] == c["name"]) c = o;
            }
            forms.push_back(std::move(described));
        }
    }
    if (full) lastForms_ = forms;
    json status = worker_ ? DescribeControl(worker_->StatusBar()) : json();
    lastPublish_ = Clock::now();
    std::lock_guard lock(mutex_);
    ++version_;
    snapshot_ = json{{"v", version_}, {"sid", id_},   {"busy", busy_}, {"done", done_}, {"forms", std::move(forms)},
                     {"status", status}, {"dialog", dialog_}, {"list", list_}, {"viewer", viewer_},
                     {"notice", notice_}, {"ended", ended_}}
                    .dump(-1, ' ', false, kDumpSafely);
    changed_.notify_all();
}

void FormSession::PublishSoon() {
    if (Clock::now() - lastPublish_ >= kPublishInterval) Publish(false);
}

void FormSession::Post(json action) {
    std::lock_guard lock(mutex_);
    Seen();
    actions_.push_back(std::move(action));
    changed_.notify_all();
}

bool FormSession::Answer(long dialog, const Reply& reply) {
    std::lock_guard lock(mutex_);
    Seen();
    if (!asking_ || dialog != dialogNumber_ || reply_) return false;
    reply_ = reply;
    changed_.notify_all();
    return true;
}

std::string FormSession::Wait(long since, const LogHeld& held, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    Seen();
    ++polling_;
    changed_.wait_for(lock, timeout, [&] { return version_ > since || ended_; });
    --polling_;
    // Idle from now on; but a request that was waiting when the page left does not bring it back.
    lastSeen_ = Clock::now();
    // A run's log goes to the page once, however many snapshots the run publishes: only the lines it lacks.
    const long total = static_cast<long>(log_.size());
    const long from = held.number == logNumber_ && held.lines >= 0 && held.lines <= total ? held.lines : 0;
    json lines = json::array();
    for (auto line = log_.begin() + from; line != log_.end(); ++line) lines.push_back(*line);
    json fields = {{"log", std::move(lines)}, {"logNumber", logNumber_}, {"logFrom", from}, {"logLines", total}};
    std::string snapshot = snapshot_;
    lock.unlock();
    // Both are objects: the log's fields take the place of the snapshot's closing brace.
    snapshot.back() = ',';
    return snapshot + fields.dump(-1, ' ', false, kDumpSafely).substr(1);
}

void FormSession::Seen() {
    lastSeen_ = Clock::now();
    leftAt_.reset();
}

void FormSession::Release() {
    stopRun_ = true;
    std::lock_guard lock(mutex_);
    releasing_ = true;
    changed_.notify_all();
}

bool FormSession::Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void FormSession::Leave() {
    std::lock_guard lock(mutex_);
    leftAt_ = Clock::now();
}

bool FormSession::Idle(std::chrono::seconds idle, std::chrono::seconds grace) const {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    // A page waiting for the next snapshot is asking all along, however long the wait.
    return (polling_ == 0 && now - lastSeen_ > idle) || (leftAt_ && now - *leftAt_ > grace);
}

std::optional<Reply> FormSession::Ask(const json& dialog) {
    long number;
    {
        std::lock_guard lock(mutex_);
        if (releasing_) return std::nullopt;
        number = ++dialogNumber_;
        reply_.reset();
        asking_ = true;
    }
    dialog_ = dialog;
    dialog_["id"] = number;
    Publish(false);
    std::optional<Reply> reply;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return releasing_ || reply_.has_value(); });
        reply = reply_;
        asking_ = false;
    }
    dialog_ = nullptr;
    Publish(false);
    return reply;
}

void FormSession::LogStarted(const std::string&) {
    {
        std::lock_guard lock(mutex_);
        std::vector<std::string>().swap(log_);  // the last run's log goes, its memory with it
        ++logNumber_;
    }
    PublishSoon();
}

void FormSession::LogLine(const std::string& line) {
    {
        std::lock_guard lock(mutex_);
        log_.push_back(line);
    }
    PublishSoon();
}

void FormSession::ShowFile(const std::string& path) {
    const bool downloadable = path.rfind(settings_.downloads, 0) == 0;
    viewer_ = {{"name", fs::path(path).filename().string()},
               {"text", ViewerText(path, kViewerLimit, downloadable)},
               {"download", downloadable}};
    Publish(false);
}

std::string FormSession::DownloadPath(const std::string& name) {
    fs::create_directories(settings_.downloads);
    return (fs::path(settings_.downloads) / SafeName(name)).string();
}

std::string FormSession::DownloadFile(const std::string& name) const {
    const fs::path path = fs::path(settings_.downloads) / SafeName(name);
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path.string() : std::string();
}

bool FormSession::IsLogFile(const std::string& path) const { return path.rfind(settings_.downloads, 0) != 0; }

}  // namespace host::web
