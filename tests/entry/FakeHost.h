#pragma once
// Test doubles of the host for the entry tests: a message service and a host factory that record what
// the component asks of them and answer from a queue.
#include <deque>
#include <string>
#include <vector>

#include "entry/HostInterfaces.h"

namespace entry_test {

class FakeMessageService : public entry::IMessageService {
public:
    std::vector<std::string> calls;  // "SetError <n>", "SetConnectionErrors <count>", "ShowErrorBox <procedure>",
                                     // "MsgBox <text>|<style>|<title>"
    std::deque<long> answers;        // error-box answers; 3 when the queue is empty
    std::string lastBox;             // "<title>|<description>|<procedure>|<style>" of the last error box shown
    bool failOnShow = false;

    void Initialize(const std::shared_ptr<entry::Cinterface>&) override { calls.push_back("Initialize"); }
    long MsgBox(const std::string& text, long style, const std::string& title, bool, long) override {
        calls.push_back("MsgBox " + text + "|" + std::to_string(style) + "|" + title);
        return 1;
    }
    void SetError(const db::Error& e) override { calls.push_back("SetError " + std::to_string(e.Number())); }
    void SetConnectionErrors(const std::vector<db::Error>& errors) override {
        calls.push_back("SetConnectionErrors " + std::to_string(errors.size()));
    }
    long ShowErrorBox(const std::string& t, const std::string& d, const std::string& p, long s) override {
        calls.push_back("ShowErrorBox " + p);
        if (failOnShow) throw db::Error(91, "Object variable not set");
        lastBox = t + "|" + d + "|" + p + "|" + std::to_string(s);
        const long answer = answers.empty() ? 3 : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
};

class FakeHost : public entry::IHostFactory {
public:
    std::vector<std::string> boxes;  // "<text>|<style>|<title>" of each platform box
    long answer = 3;

    std::shared_ptr<entry::IRecordsetProvider> CreateRecordsetProvider() override { return nullptr; }
    std::shared_ptr<entry::IBarcodeGenerator> CreateBarcodeGenerator() override { return nullptr; }
    std::shared_ptr<entry::IIdentifierService> CreateIdentifierService() override { return nullptr; }
    std::shared_ptr<entry::ICycleService> CreateCycleService() override { return nullptr; }
    std::shared_ptr<entry::IElabDisba> CreateElabDisba() override { return nullptr; }
    std::shared_ptr<entry::IMessageService> CreateMessageService() override { return nullptr; }
    std::shared_ptr<entry::IProcessingLogService> CreateProcessingLogService() override { return nullptr; }
    long PlatformMsgBox(const std::string& text, long style, const std::string& title) override {
        boxes.push_back(text + "|" + std::to_string(style) + "|" + title);
        return answer;
    }
};

}  // namespace entry_test
