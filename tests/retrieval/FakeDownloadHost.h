#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "retrieval/DownloadHost.h"

namespace vantorel::test {

// A scripted main window: records everything the command shows and does.
class FakeDownloadHost : public DownloadHost {
public:
    std::string request = "US6892391";
    std::string timeout = "120";
    int preference = 0;
    CurrentSettings settings{"demo", "demo", "/tmp/", ""};
    std::string host = "localhost:8741";
    std::string ca;             // the Settings file's CAFile
    std::vector<bool> answers;  // replies to questions, in order; No when they run out

    std::vector<std::string> events;  // "enabled", "disabled", "message:...", "ask:...", "open:..."
    std::vector<int> progress;
    int rescans = 0;
    int pumps = 0;
    std::function<void()> onPump;
    std::function<void()> onMessage;  // while the box would be open

    std::string requestText() const override { return request; }
    std::string timeoutText() const override { return timeout; }
    int viewingPreference() const override { return preference; }
    const CurrentSettings& currentSettings() const override { return settings; }
    std::string serviceHost() const override { return host; }
    std::string caFile() const override { return ca; }
    void setCommandEnabled(bool enabled) override {
        events.push_back(enabled ? "enabled" : "disabled");
    }
    void setProgress(int position) override { progress.push_back(position); }
    void processEvents() override {
        ++pumps;
        if (onPump) onPump();
    }
    void showMessage(const std::string& text) override {
        events.push_back("message:" + text);
        if (onMessage) onMessage();
    }
    bool askYesNo(const std::string& text, const std::string& title) override {
        events.push_back("ask:" + title + ":" + text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void openDocument(const std::string& path) override { events.push_back("open:" + path); }
    void rescanPatents() override {
        ++rescans;
        events.push_back("rescan");
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.rfind("message:", 0) == 0) out.push_back(e.substr(8));
        return out;
    }
};

}  // namespace vantorel::test
