#pragma once
// One browser tab's form: a worker thread owns the company session, the program object and its forms
// (the component is single-threaded), and runs the person's actions one after the other. The page
// learns the state through Wait (long polling): every action, progress refresh, log line and question
// publishes a new numbered snapshot. A question blocks the worker until the page answers it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "entry/Shell.h"
#include "host/web/BrowserServices.h"

namespace host::web {

// The processing log the page already shows: which of the session's logs (0: none), and how many of its lines.
struct LogHeld {
    long number = 0;
    long lines = 0;
};

struct SessionSettings {
    std::string connectionString;
    long ditta = 1;
    std::string downloads;  // the folder of this session's downloadable files
};

class FormSession : public IPerson {
public:
    using Clock = std::chrono::steady_clock;

    FormSession(std::string id, SessionSettings settings);
    // Releases the form (its unload runs), ends the worker and removes the session's download folder.
    ~FormSession() override;
    FormSession(const FormSession&) = delete;
    FormSession& operator=(const FormSession&) = delete;

    const std::string& Id() const { return id_; }

    // --- From the page (any thread) ---
    void Post(nlohmann::json action);
    // Answers the question the worker waits on; False when no question with that number waits.
    bool Answer(long dialog, const Reply& reply);
    // The snapshot newer than `since`, waiting at most `timeout` for one. Of the processing log it carries
    // only the lines after those `held` (all of them when the page holds another log or none).
    std::string Wait(long since, const LogHeld& held, std::chrono::milliseconds timeout);
    // Starts the release: a run at work stops between two articles, then the form is unloaded with nobody
    // to answer its questions.
    void Release();
    bool Ended() const;
    // The page went away (closed, or reloading): unless it asks again within the grace period, the
    // session counts as idle.
    void Leave();
    // True when the page has not asked for `idle` (a request waiting in Wait is asking), or left more than
    // `grace` ago.
    bool Idle(std::chrono::seconds idle, std::chrono::seconds grace) const;
    // The path of a downloadable file of this session; empty when there is none of that name.
    std::string DownloadFile(const std::string& name) const;

    // --- IPerson (on the worker) ---
    std::optional<Reply> Ask(const nlohmann::json& dialog) override;
    void LogStarted(const std::string& path) override;
    void LogLine(const std::string& line) override;
    void ShowFile(const std::string& path) override;
    std::string DownloadPath(const std::string& name) override;
    bool IsLogFile(const std::string& path) const override;

private:
    class Worker;

    void Run();
    // Runs the person's actions while `going` holds (the form's lifetime, or a modal window's).
    void Pump(const std::function<bool()>& going);
    std::optional<nlohmann::json> Next();
    void Execute(const nlohmann::json& action);
    void Publish(bool full);
    void PublishSoon();
    // Under the lock: the page asked.
    void Seen();

    const std::string id_;
    const SessionSettings settings_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;  // a snapshot, an action or an answer arrived
    std::deque<nlohmann::json> actions_;
    std::optional<Reply> reply_;
    long dialogNumber_ = 0;
    bool asking_ = false;  // the question dialogNumber_ waits for its answer
    bool releasing_ = false;
    bool ended_ = false;
    long version_ = 0;
    std::string snapshot_;  // without the log, which Wait adds from the lines the page does not hold
    std::vector<std::string> log_;
    long logNumber_ = 0;  // the logs started in this session; the page names the one it holds by this
    Clock::time_point lastSeen_ = Clock::now();
    int polling_ = 0;  // requests of the page waiting in Wait
    std::optional<Clock::time_point> leftAt_;

    // Worker-only state.
    std::unique_ptr<Worker> worker_;
    nlohmann::json dialog_;  // the open question, or null
    nlohmann::json list_;    // the lookup list the page shows, or null
    nlohmann::json viewer_;  // the text file shown, or null
    std::string logFolder_;
    std::string notice_;
    bool busy_ = false;
    long done_ = 0;  // actions executed, so a client knows when its own has been
    Clock::time_point lastPublish_{};
    nlohmann::json lastForms_;

    // Set by Release, read by the run on the worker: only this session's run stops.
    std::atomic<bool> stopRun_{false};
    std::thread thread_;
};

// The text the viewer shows of the file at `path`: all of it up to `limit` bytes; past that its last lines,
// from a line start, under a line saying the file was cut and how to get all of it.
std::string ViewerText(const std::string& path, std::uintmax_t limit, bool downloadable);

}  // namespace host::web
