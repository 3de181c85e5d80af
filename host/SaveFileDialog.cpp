#include "host/SaveFileDialog.h"

#include <utility>

namespace host {

std::string SaveFileDialog::Scegli(const std::string& startFolder, const std::string& filter,
                                   const std::string& title) {
    std::string answer;
    if (!queue_.empty()) {
        answer = std::move(queue_.front());
        queue_.pop_front();
    } else if (always_) {
        answer = *always_;
    }
    shown_.push_back({startFolder, filter, title, answer});
    return answer;
}

SaveFileDialog& SaveFileDialog::Queue(std::string path) {
    queue_.push_back(std::move(path));
    return *this;
}

SaveFileDialog& SaveFileDialog::Always(std::string path) {
    always_ = std::move(path);
    return *this;
}

void SaveFileDialog::ClearScript() {
    queue_.clear();
    always_.reset();
}

}  // namespace host
