#include "host/web/SessionTable.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <stdexcept>
#include <vector>

namespace host::web {

std::string RandomId() {
    static std::mutex mutex;
    static std::random_device device;
    std::lock_guard lock(mutex);
    static const char* hex = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 4; ++i) {
        const unsigned value = device();
        for (int k = 0; k < 8; ++k) id += hex[(value >> (4 * k)) & 0xF];
    }
    return id;
}

SessionTable::SessionTable(SessionSettings settings, std::chrono::seconds idleLimit, std::chrono::seconds leaveGrace)
    : settings_(std::move(settings)), idleLimit_(idleLimit), leaveGrace_(leaveGrace) {}

SessionTable::~SessionTable() {
    std::map<std::string, std::shared_ptr<FormSession>> sessions;
    {
        std::lock_guard lock(mutex_);
        sessions.swap(sessions_);
    }
    for (auto& [id, s] : sessions) s->Release();
    sessions.clear();  // each joins its worker and removes its own folder
    // The server's download folder goes with it; left alone when something else was put there.
    std::error_code error;
    if (!settings_.downloads.empty() && !std::filesystem::remove(settings_.downloads, error) && error)
        std::cerr << (settings_.downloads + ": " + error.message() + "\n");
}

std::shared_ptr<FormSession> SessionTable::Open() {
    // Counted and added under one lock, so that requests at the same moment cannot all pass the count.
    std::lock_guard lock(mutex_);
    const auto open =
        std::count_if(sessions_.begin(), sessions_.end(), [](const auto& s) { return !s.second->Ended(); });
    if (static_cast<std::size_t>(open) >= kMaxOpen) return nullptr;
    const std::string id = RandomId();
    SessionSettings settings = settings_;
    settings.downloads = (std::filesystem::path(settings_.downloads) / id).string() + "/";
    auto session = std::make_shared<FormSession>(id, std::move(settings));
    sessions_[id] = session;
    return session;
}

std::shared_ptr<FormSession> SessionTable::Find(const std::string& id) const {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(id);
    return it == sessions_.end() ? nullptr : it->second;
}

void SessionTable::Release(const std::string& id) {
    if (auto s = Find(id)) s->Release();
}

void SessionTable::ReleaseAll() {
    std::lock_guard lock(mutex_);
    for (auto& [id, s] : sessions_) s->Release();
}

void SessionTable::Sweep() {
    std::vector<std::shared_ptr<FormSession>> gone;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (it->second->Idle(idleLimit_, leaveGrace_)) it->second->Release();
            // An ended session stays while its page still asks, so the page learns why it ended.
            if (it->second->Ended() && it->second->Idle(leaveGrace_, leaveGrace_)) {
                gone.push_back(it->second);
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    gone.clear();  // joined outside the lock
}

std::size_t SessionTable::Count() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

std::string CreatePrivateFolder(const std::string& prefix) {
    std::string path = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    // mkdtemp makes the folder 0700 and never takes one that exists, which another user could have made.
    if (!mkdtemp(path.data()))
        throw std::runtime_error("cannot create a folder " + path + ": " + std::strerror(errno));
    return path;
}

}  // namespace host::web
