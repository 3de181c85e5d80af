#pragma once
// An event of a host control (or of any object of the shell): the form connects its handlers, the
// control raises it. Arguments passed by reference (a Cancel flag, a request to fill) reach every
// handler as the same variable, as VB's ByRef event arguments do.
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace entry {

template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    // Handlers run in the order they were connected. Returns an id for Disconnect.
    std::size_t Connect(Handler handler) {
        handlers_.emplace_back(++lastId_, std::move(handler));
        return lastId_;
    }
    void Disconnect(std::size_t id) {
        std::erase_if(handlers_, [id](const auto& h) { return h.first == id; });
    }
    void Clear() { handlers_.clear(); }
    bool Connected() const { return !handlers_.empty(); }

    // A handler may connect or disconnect handlers while the event is raised: the list is copied first.
    void Raise(Args... args) const {
        const auto handlers = handlers_;
        for (const auto& h : handlers) h.second(args...);
    }

private:
    std::vector<std::pair<std::size_t, Handler>> handlers_;
    std::size_t lastId_ = 0;
};

}  // namespace entry
