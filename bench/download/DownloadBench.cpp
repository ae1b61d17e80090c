// Runs the download command once without a window: the request from argv, the
// files into a folder, nothing opened, every reload answered Yes.
// Usage: download-bench HOST REQUEST FOLDER/   (prints the wall time in seconds)
#include <chrono>
#include <cstdio>
#include <iostream>

#include "retrieval/DownloadCommand.h"
#include "retrieval/HttpPageGetter.h"

namespace {

class HeadlessHost : public vantorel::DownloadHost {
public:
    HeadlessHost(std::string host, std::string request, std::string folder)
        : host_(std::move(host)), request_(std::move(request)) {
        settings_ = {"demo", "demo", std::move(folder), ""};
    }
    std::string requestText() const override { return request_; }
    std::string timeoutText() const override { return "120"; }
    int viewingPreference() const override { return 2; }
    const vantorel::CurrentSettings& currentSettings() const override { return settings_; }
    std::string serviceHost() const override { return host_; }
    std::string caFile() const override { return {}; }
    void setCommandEnabled(bool) override {}
    void setProgress(int position) override { last = position; }
    void processEvents() override {}
    void showMessage(const std::string& text) override {
        std::cerr << "message: " << text << "\n";
        failed = true;
    }
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void openDocument(const std::string&) override {}
    void rescanPatents() override {}

    int last = 0;
    bool failed = false;

private:
    std::string host_, request_;
    vantorel::CurrentSettings settings_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: download-bench HOST REQUEST FOLDER/\n";
        return 2;
    }
    HeadlessHost host(argv[1], argv[2], argv[3]);
    vantorel::HttpClient client;
    vantorel::HttpPageGetter getter(client);
    vantorel::DownloadCommand command(host, getter);
    client.OnWork = [&](auto, std::int64_t count) { command.onWork(count); };
    const auto start = std::chrono::steady_clock::now();
    try {
        command.run();
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f\n", took.count());
    return host.failed ? 1 : 0;
}
