#pragma once
// Text viewer of the headless shell: nobody looks at a window, so every file shown is recorded with its
// contents as they were at that moment, and printed when the shell has somewhere to print it (the
// command line sets standard output).
#include <ostream>
#include <string>
#include <vector>

#include "entry/HostInterfaces.h"

namespace host {

struct ShownFile {
    std::string path;
    std::string contents;
};

class TextViewer : public entry::ITextViewer {
public:
    // Error 53 "File not found" when there is no such file.
    void Mostra(const std::string& path) override;

    void Output(std::ostream* out) { out_ = out; }
    const std::vector<ShownFile>& Shown() const { return shown_; }
    void ClearRecords() { shown_.clear(); }

private:
    std::ostream* out_ = nullptr;
    std::vector<ShownFile> shown_;
};

}  // namespace host
