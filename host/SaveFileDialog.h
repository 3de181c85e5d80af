#pragma once
// Save-file dialog of the headless shell: the path comes from a script (queued answers, one per dialog,
// then the "always" answer); with nothing scripted nobody is there to pick a file, so the dialog is
// cancelled (empty text). Every dialog shown is recorded.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "entry/HostInterfaces.h"

namespace host {

struct ShownSaveDialog {
    std::string startFolder;
    std::string filter;
    std::string title;
    std::string answer;
};

class SaveFileDialog : public entry::ISaveFileDialog {
public:
    std::string Scegli(const std::string& startFolder, const std::string& filter, const std::string& title) override;

    SaveFileDialog& Queue(std::string path);  // an empty path cancels that dialog
    SaveFileDialog& Always(std::string path);
    void ClearScript();

    const std::vector<ShownSaveDialog>& Shown() const { return shown_; }
    void ClearRecords() { shown_.clear(); }

private:
    std::deque<std::string> queue_;
    std::optional<std::string> always_;
    std::vector<ShownSaveDialog> shown_;
};

}  // namespace host
