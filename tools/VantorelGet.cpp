// vantorel-get: fetches URLs with the program's HTTP client and settings,
// one client for all of them, so connections and cookies carry over.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/StandardStreams.h"
#include "platform/WholeNumber.h"
#include "retrieval/HttpClient.h"

namespace {

constexpr const char* kUsage =
    "usage: vantorel-get [--read-timeout MS] [--connect-timeout MS] [--cafile PEM] [--work] "
    "URL...\n"
    "Fetches each URL in order and writes the bodies to standard output as they arrive.\n"
    "Time-outs default to 15000 ms; --cafile adds trusted roots for https;\n"
    "--work reports progress on standard error.\n";

struct Options {
    int readTimeout = 15000;
    int connectTimeout = 15000;
    bool work = false;
    std::string caFile;
    std::vector<std::string> urls;
};

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--work") {
            options.work = true;
        } else if (argument == "--read-timeout" || argument == "--connect-timeout") {
            if (i + 1 >= argc) return std::nullopt;
            const auto value = vantorel::tryParseWholeNumber(argv[++i]);
            if (!value) return std::nullopt;
            (argument == "--read-timeout" ? options.readTimeout : options.connectTimeout) = *value;
        } else if (argument == "--cafile") {
            if (i + 1 >= argc) return std::nullopt;
            options.caFile = argv[++i];
        } else if (argument.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            break;
        }
    }
    for (; i < argc; ++i) options.urls.emplace_back(argv[i]);
    if (options.urls.empty()) return std::nullopt;
    return options;
}

// Ends a transfer whose body can no longer be written out.
struct OutputClosed {};

bool writeAll(int fd, const char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, bytes + done, size - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    vantorel::useBinaryStandardStreams();  // the bodies are bytes, PDFs among them
    const auto options = parseArguments(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    vantorel::HttpClient client;
    client.ReadTimeout = options->readTimeout;
    client.ConnectTimeout = options->connectTimeout;
    client.CAFile = options->caFile;
    if (options->work) {
        client.OnWorkBegin = [](vantorel::WorkMode mode, std::int64_t max) {
            std::fprintf(stderr, "begin %d %lld\n", static_cast<int>(mode),
                         static_cast<long long>(max));
        };
        client.OnWork = [&client](vantorel::WorkMode mode, std::int64_t count) {
            std::fprintf(stderr, "work %d %lld %lld\n", static_cast<int>(mode),
                         static_cast<long long>(count),
                         static_cast<long long>(client.response().ContentLength));
        };
        client.OnWorkEnd = [](vantorel::WorkMode mode) {
            std::fprintf(stderr, "end %d\n", static_cast<int>(mode));
        };
    }

    // Each body goes out block by block as it arrives: nothing is held, so
    // any length passes through in constant memory.
    const vantorel::BodySink toStandardOutput = [](const char* data, std::size_t size) {
        if (!writeAll(STDOUT_FILENO, data, size)) throw OutputClosed{};
    };
    for (const std::string& url : options->urls) {
        try {
            client.Get(url, toStandardOutput);
        } catch (const vantorel::Failure& failure) {
            std::fflush(stderr);
            const std::string message = failure.message() + "\n";
            writeAll(STDERR_FILENO, message.data(), message.size());
            return 1;
        } catch (const OutputClosed&) {
            std::fputs("vantorel-get: cannot write to standard output\n", stderr);
            return 1;
        }
    }
    return 0;
}
