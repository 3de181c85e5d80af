#pragma once
// Message service of the headless shell: nobody sits in front of the boxes, so every answer comes from a
// script, and every box shown is recorded (tests assert on the exact texts; the command line prints them).
//
// How a box is answered, first match wins:
//   1. the responder, when one is set and it answers this box (the command line maps questions to flags);
//   2. the box kind's script: queued answers, one per box, then the "always" answer when set;
//   3. the default: a message box answers with its default button (the first one unless the style's
//      default-button flag says otherwise: OK for 0, Yes for 4, No for 4 + 256); the error box answers
//      Abort (3), so a failing procedure is left rather than retried for ever.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/Error.h"
#include "entry/HostInterfaces.h"

namespace host {

struct ShownMessage {
    std::string text;
    long style = 0;
    std::string title;
    long answer = 0;
    bool platform = false;  // the platform's own box (no message service), not the service's
};

struct ShownErrorBox {
    long number = 0;
    std::string description;
    std::string source;
    std::string procedure;
    std::string title;                  // the component's title
    std::string componentDescription;   // the component's description
    long style = 0;
    std::vector<db::Error> connectionErrors;
    long answer = 0;
};

// Answers for one kind of box.
class AnswerScript {
public:
    AnswerScript& Queue(std::initializer_list<long> answers);
    AnswerScript& Push(long answer);
    AnswerScript& Always(long answer);
    void Clear();
    // The next queued answer, else the "always" answer, else none.
    std::optional<long> Next();
    std::size_t Pending() const { return queue_.size(); }

private:
    std::deque<long> queue_;
    std::optional<long> always_;
};

class ScriptedMessageService : public entry::IMessageService {
public:
    using MessageResponder = std::function<std::optional<long>(const ShownMessage&)>;
    using ErrorResponder = std::function<std::optional<long>(const ShownErrorBox&)>;

    void Initialize(const std::shared_ptr<entry::Cinterface>& program) override;
    long MsgBox(const std::string& text, long style, const std::string& title, bool flag = true,
                long helpContext = 0) override;
    void SetError(const db::Error& error) override;
    void SetConnectionErrors(const std::vector<db::Error>& errors) override;
    long ShowErrorBox(const std::string& title, const std::string& description, const std::string& procedure,
                      long style) override;

    // The platform's message box, answered and recorded as a message box marked `platform`.
    long PlatformMsgBox(const std::string& text, long style, const std::string& title);

    AnswerScript& MessageAnswers() { return messageAnswers_; }
    AnswerScript& ErrorBoxAnswers() { return errorAnswers_; }
    void SetMessageResponder(MessageResponder responder) { messageResponder_ = std::move(responder); }
    void SetErrorResponder(ErrorResponder responder) { errorResponder_ = std::move(responder); }

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    const std::vector<ShownErrorBox>& ErrorBoxes() const { return errorBoxes_; }
    void ClearRecords();
    bool Initialized() const { return initialized_; }

    // The answer of a message box's default button.
    static long DefaultAnswer(long style);
    // The answer that closes a box without going ahead, for a box nobody can answer any more: Cancel
    // where the box has it, else No, else Abort, else its only button (OK).
    static long DismissAnswer(long style);

private:
    long ShowMessage(const std::string& text, long style, const std::string& title, bool platform);

    AnswerScript messageAnswers_;
    AnswerScript errorAnswers_;
    MessageResponder messageResponder_;
    ErrorResponder errorResponder_;
    std::optional<db::Error> pendingError_;
    std::vector<db::Error> pendingConnectionErrors_;
    std::vector<ShownMessage> messages_;
    std::vector<ShownErrorBox> errorBoxes_;
    bool initialized_ = false;
};

}  // namespace host
