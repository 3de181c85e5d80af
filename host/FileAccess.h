#pragma once
// File access of the shell: creates text files and writes them line by line. Lines end with CR LF, the
// ERP's text-file convention, so a log reads the same whichever machine opens it. Every line is flushed
// as it is written: a log is readable while its run goes on, and complete up to the last line when the
// run dies.
#include <fstream>
#include <memory>
#include <string>

#include "entry/HostInterfaces.h"

namespace host {

class TextStream : public entry::ITextStream {
public:
    TextStream(std::string path, std::ofstream file);
    ~TextStream() override;
    void WriteLine(const std::string& text) override;  // Error 57 when the write fails, 54 once closed
    void Close() override;                             // closing twice is harmless
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::ofstream file_;
};

class FileAccess : public entry::IFileAccess {
public:
    // Error 76 "Path not found" when the folder does not exist, 75 when the file cannot be created.
    std::shared_ptr<entry::ITextStream> CreaFile(const std::string& path) override;
    // Error 58 "File already exists" when the name is taken, even by a file another process creates at
    // the same moment.
    std::shared_ptr<entry::ITextStream> CreaFileNuovo(const std::string& path) override;

private:
    static std::shared_ptr<entry::ITextStream> Create(const std::string& path, bool mustBeNew);
};

}  // namespace host
