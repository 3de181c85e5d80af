#include "host/ScriptedMessageService.h"

#include <algorithm>
#include <utility>

namespace host {

namespace {
constexpr long kCancel = 2;
constexpr long kAbort = 3;
constexpr long kNo = 7;

// Buttons of each message-box style, in the order they are shown.
const std::vector<long>& Buttons(long style) {
    static const std::vector<std::vector<long>> kButtons = {
        {1},        // 0 OK
        {1, 2},     // 1 OK, Cancel
        {3, 4, 5},  // 2 Abort, Retry, Ignore
        {6, 7, 2},  // 3 Yes, No, Cancel
        {6, 7},     // 4 Yes, No
        {4, 2},     // 5 Retry, Cancel
        {2, 10, 11},  // 6 Cancel, Try again, Continue
    };
    const long kind = style & 0x7;
    return kind < static_cast<long>(kButtons.size()) ? kButtons[kind] : kButtons[0];
}
}  // namespace

AnswerScript& AnswerScript::Queue(std::initializer_list<long> answers) {
    queue_.insert(queue_.end(), answers.begin(), answers.end());
    return *this;
}

AnswerScript& AnswerScript::Push(long answer) {
    queue_.push_back(answer);
    return *this;
}

AnswerScript& AnswerScript::Always(long answer) {
    always_ = answer;
    return *this;
}

void AnswerScript::Clear() {
    queue_.clear();
    always_.reset();
}

std::optional<long> AnswerScript::Next() {
    if (!queue_.empty()) {
        const long answer = queue_.front();
        queue_.pop_front();
        return answer;
    }
    return always_;
}

long ScriptedMessageService::DefaultAnswer(long style) {
    const auto& buttons = Buttons(style);
    const std::size_t defaultButton = static_cast<std::size_t>((style & 0x300) >> 8);
    return defaultButton < buttons.size() ? buttons[defaultButton] : buttons.front();
}

long ScriptedMessageService::DismissAnswer(long style) {
    const auto& buttons = Buttons(style);
    for (long refusal : {kCancel, kNo, kAbort})
        if (std::find(buttons.begin(), buttons.end(), refusal) != buttons.end()) return refusal;
    return buttons.front();
}

void ScriptedMessageService::Initialize(const std::shared_ptr<entry::Cinterface>&) { initialized_ = true; }

long ScriptedMessageService::MsgBox(const std::string& text, long style, const std::string& title, bool, long) {
    return ShowMessage(text, style, title, false);
}

long ScriptedMessageService::PlatformMsgBox(const std::string& text, long style, const std::string& title) {
    return ShowMessage(text, style, title, true);
}

long ScriptedMessageService::ShowMessage(const std::string& text, long style, const std::string& title,
                                         bool platform) {
    ShownMessage shown{text, style, title, 0, platform};
    std::optional<long> answer;
    if (messageResponder_) answer = messageResponder_(shown);
    if (!answer) answer = messageAnswers_.Next();
    shown.answer = answer ? *answer : DefaultAnswer(style);
    messages_.push_back(shown);
    return shown.answer;
}

void ScriptedMessageService::SetError(const db::Error& error) { pendingError_ = error; }

void ScriptedMessageService::SetConnectionErrors(const std::vector<db::Error>& errors) {
    pendingConnectionErrors_ = errors;
}

long ScriptedMessageService::ShowErrorBox(const std::string& title, const std::string& description,
                                          const std::string& procedure, long style) {
    ShownErrorBox shown;
    if (pendingError_) {
        shown.number = pendingError_->Number();
        shown.description = pendingError_->Description();
        shown.source = pendingError_->Source();
    }
    shown.procedure = procedure;
    shown.title = title;
    shown.componentDescription = description;
    shown.style = style;
    shown.connectionErrors = std::move(pendingConnectionErrors_);
    // Each report hands its own error over; nothing of this one may show in the next box.
    pendingError_.reset();
    pendingConnectionErrors_.clear();

    std::optional<long> answer;
    if (errorResponder_) answer = errorResponder_(shown);
    if (!answer) answer = errorAnswers_.Next();
    shown.answer = answer ? *answer : kAbort;
    errorBoxes_.push_back(shown);
    return shown.answer;
}

void ScriptedMessageService::ClearRecords() {
    messages_.clear();
    errorBoxes_.clear();
}

}  // namespace host
