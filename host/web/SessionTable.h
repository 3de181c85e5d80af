#pragma once
// The open forms of the server, one per browser tab, by session id. A session the page stopped asking
// about for longer than the idle limit is released (its form unloads); ended sessions are dropped. Each
// session's download folder lies in the table's one, which goes with the table.
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "host/web/FormSession.h"

namespace host::web {

class SessionTable {
public:
    SessionTable(SessionSettings settings, std::chrono::seconds idleLimit, std::chrono::seconds leaveGrace);
    ~SessionTable();

    // Forms open at once at most: each holds a thread and a database connection.
    static constexpr std::size_t kMaxOpen = 64;

    // Nothing when kMaxOpen forms are open already (released ones do not count, though their workers may still be
    // ending until the next sweep).
    std::shared_ptr<FormSession> Open();
    // Nothing for an unknown or released id.
    std::shared_ptr<FormSession> Find(const std::string& id) const;
    void Release(const std::string& id);
    void ReleaseAll();
    // Releases the idle sessions and forgets the ended ones.
    void Sweep();
    std::size_t Count() const;

private:
    SessionSettings settings_;
    std::chrono::seconds idleLimit_;
    std::chrono::seconds leaveGrace_;
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<FormSession>> sessions_;
};

// A random id of 128 bits, as hex text (session ids and the start-up token).
std::string RandomId();

// A new folder under the system's temporary folder, named `prefix` and six random characters, that only this
// user may enter: the server's downloads, which other users may neither read nor plant links in.
std::string CreatePrivateFolder(const std::string& prefix);

}  // namespace host::web
