#include "host/web/BrowserServices.h"

#include "host/FileAccess.h"
#include "host/ScriptedMessageService.h"
#include "host/controls/DataFrame.h"

namespace host::web {
namespace {

using nlohmann::json;

class TappedStream : public entry::ITextStream {
public:
    TappedStream(std::shared_ptr<entry::ITextStream> inner, IPerson* person)
        : inner_(std::move(inner)), person_(person) {}
    void WriteLine(const std::string& text) override {
        inner_->WriteLine(text);
        if (person_) person_->LogLine(text);
    }
    void Close() override { inner_->Close(); }

private:
    std::shared_ptr<entry::ITextStream> inner_;
    IPerson* person_;
};

class TappedFileAccess : public entry::IFileAccess {
public:
    TappedFileAccess(std::shared_ptr<entry::IFileAccess> inner, IPerson& person)
        : inner_(std::move(inner)), person_(person) {}
    std::shared_ptr<entry::ITextStream> CreaFile(const std::string& path) override {
        return Tap(inner_->CreaFile(path), path);
    }
    std::shared_ptr<entry::ITextStream> CreaFileNuovo(const std::string& path) override {
        return Tap(inner_->CreaFileNuovo(path), path);
    }

private:
    std::shared_ptr<entry::ITextStream> Tap(std::shared_ptr<entry::ITextStream> stream, const std::string& path) {
        // Only a processing log streams to the page; a copy saved for download does not.
        const bool log = person_.IsLogFile(path);
        if (log) person_.LogStarted(path);
        return std::make_shared<TappedStream>(std::move(stream), log ? &person_ : nullptr);
    }

    std::shared_ptr<entry::IFileAccess> inner_;
    IPerson& person_;
};

class PageViewer : public entry::ITextViewer {
public:
    explicit PageViewer(IPerson& person) : person_(person) {}
    void Mostra(const std::string& path) override { person_.ShowFile(path); }

private:
    IPerson& person_;
};

// The browser's "save as": the person names the file; it is written in the session's folder and offered
// for download by the viewer.
class PageSaveDialog : public entry::ISaveFileDialog {
public:
    explicit PageSaveDialog(IPerson& person) : person_(person) {}
    std::string Scegli(const std::string& startFolder, const std::string& filter, const std::string& title) override {
        const auto reply = person_.Ask({{"kind", "save"}, {"title", title}, {"filter", filter}});
        if (!reply || reply->code != 1 || reply->text.empty()) return {};
        return person_.DownloadPath(reply->text);
    }

private:
    IPerson& person_;
};

// A box nobody answered (the form is being released) closes without going ahead: its default button may
// well be Yes or Retry, and nobody chose that.
long Code(const std::optional<Reply>& reply, long style) {
    return reply ? reply->code : ScriptedMessageService::DismissAnswer(style);
}

}  // namespace

BrowserHost::BrowserHost(IPerson& person) : person_(person) {
    Messages()->SetMessageResponder([&person](const ShownMessage& m) {
        const auto reply = person.Ask({{"kind", "message"}, {"text", m.text}, {"style", m.style}, {"title", m.title}});
        // A form released with edits nobody saved must still close: they go, as with any window taken away.
        // Cancel would keep open a window nobody sees any more.
        constexpr long kNo = 7;
        if (!reply && m.text == controls::DataFrame::kDomandaChiusura) return kNo;
        return Code(reply, m.style);
    });
    Messages()->SetErrorResponder([&person](const ShownErrorBox& e) {
        return Code(person.Ask({{"kind", "error"},
                                {"number", e.number},
                                {"text", e.description},
                                {"procedure", e.procedure},
                                {"source", e.source},
                                {"title", e.title},
                                {"style", e.style}}),
                    e.style);
    });
}

std::shared_ptr<entry::IFileAccess> BrowserHost::CreateFileAccess() {
    return std::make_shared<TappedFileAccess>(ShellHost::CreateFileAccess(), person_);
}

std::shared_ptr<entry::ITextViewer> BrowserHost::CreateTextViewer() { return std::make_shared<PageViewer>(person_); }

std::shared_ptr<entry::ISaveFileDialog> BrowserHost::CreateSaveFileDialog() {
    return std::make_shared<PageSaveDialog>(person_);
}

}  // namespace host::web
