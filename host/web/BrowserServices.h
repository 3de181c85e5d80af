#pragma once
// The host services that need the person in front of the page: message boxes and the error box, the
// save-file dialog and the text viewer. Each asks the page through the session and waits for the answer
// on the form's worker, as a modal box blocks the window that opened it. The file access is the headless
// one, tapped so that the lines of a processing log reach the page while the run writes them.
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "host/HostFactory.h"

namespace host::web {

struct Reply {
    long code = 0;
    std::string text;
};

// The person, as the services see them (implemented by the session).
class IPerson {
public:
    virtual ~IPerson() = default;
    // Shows the dialog and waits for the answer; nothing when nobody is there any more (the box then
    // closes without going ahead).
    virtual std::optional<Reply> Ask(const nlohmann::json& dialog) = 0;
    // A processing log was created / got a line.
    virtual void LogStarted(const std::string& path) = 0;
    virtual void LogLine(const std::string& line) = 0;
    // A text file is shown to the person.
    virtual void ShowFile(const std::string& path) = 0;
    // Where a file the person names for download is written (in the session's own folder).
    virtual std::string DownloadPath(const std::string& name) = 0;
    // True for a file path in the folder of the processing logs.
    virtual bool IsLogFile(const std::string& path) const = 0;
};

// The host factory of one browser session: the headless shell's objects, with the person's boxes.
class BrowserHost : public ShellHost {
public:
    explicit BrowserHost(IPerson& person);
    std::shared_ptr<entry::IFileAccess> CreateFileAccess() override;
    std::shared_ptr<entry::ITextViewer> CreateTextViewer() override;
    std::shared_ptr<entry::ISaveFileDialog> CreateSaveFileDialog() override;

private:
    IPerson& person_;
};

}  // namespace host::web
