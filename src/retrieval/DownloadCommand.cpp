#include "retrieval/DownloadCommand.h"

#include <cstdint>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/TextRules.h"
#include "platform/WholeNumber.h"
#include "retrieval/FetchProtocol.h"

namespace vantorel {
namespace {

// Restores the idle window on every way out of a run.
class EndOfRun {
public:
    explicit EndOfRun(DownloadHost& host) : host_(host) {}
    ~EndOfRun() {
        host_.setProgress(0);
        host_.setCommandEnabled(true);
    }

private:
    DownloadHost& host_;
};

struct Outcome {
    bool ok = true;
    std::string body;
    std::string failure;  // the shown text after "Exception: "
    bool hasMessage = true;
};

// The HTTP client's failures are shown by the command itself, never by the error box.
template <typename Fn>
Outcome attempt(Fn&& fn) {
    Outcome outcome;
    try {
        outcome.body = fn();
    } catch (const std::exception& failure) {
        outcome.ok = false;
        outcome.failure = failure.what();
    } catch (...) {
        outcome.ok = false;
        outcome.hasMessage = false;
    }
    return outcome;
}

std::string exceptionText(const Outcome& outcome) {
    return "Exception: " + (outcome.hasMessage ? outcome.failure : std::string("Unknown"));
}

}  // namespace

std::string DownloadCommand::timeoutMessage() {
    return std::string("Sorry,a timeout error has occured.") + kMessageLineBreak +
           "This could be caused either by the internet connection problem or a large size of "
           "the patent it self." +
           kMessageLineBreak +
           "We recomend increasing \"timeout\" setting in the \"Settings\" tab if this error "
           "persits.";
}

void DownloadCommand::run() {
    host_.setCommandEnabled(false);
    EndOfRun restore(host_);

    const std::string request = FetchProtocol::normaliseRequest(host_.requestText());
    if (request.empty()) {
        host_.showMessage("You must provide non-empty request.");
        return;
    }
    FetchingFiles = false;
    FileCount = 0;
    FileIndex = 0;
    host_.setProgress(1);

    const CurrentSettings& settings = host_.currentSettings();
    const std::string address = FetchProtocol::composeFetchAddress(
        host_.serviceHost(), request, settings.UserLogin, settings.UserPassword);
    // The product wraps like the 32-bit multiplication it stands for.
    const std::int32_t seconds = parseWholeNumber(host_.timeoutText());
    getter_.setReadTimeout(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds) * 1000u));

    Outcome index = attempt([&] { return getter_.get(address); });
    if (!index.ok) {
        if (index.hasMessage) {
            std::string& message = index.failure;
            for (std::size_t cut; (cut = message.find("-->")) != std::string::npos;)
                message.erase(0, cut + 3);
            if (message.find("Read Timeout") != std::string::npos) message = timeoutMessage();
        }
        host_.showMessage(exceptionText(index));
        return;
    }

    const std::vector<std::string> entries = FetchProtocol::splitIndexResponse(index.body);
    FileCount = static_cast<int>(entries.size());
    if (entries.empty()) {
        host_.rescanPatents();
        return;
    }
    share_ = roundHalfEven(100.0 / FileCount);
    for (int i = 0; i < FileCount; ++i)
        if (!processEntry(i, entries[static_cast<std::size_t>(i)], share_)) return;
    host_.rescanPatents();
}

bool DownloadCommand::processEntry(int index, const std::string& entry, int share) {
    using FetchProtocol::EntryKind;
    const EntryKind kind = FetchProtocol::classifyEntry(entry);
    if (kind == EntryKind::CredentialsRejected) {
        host_.showMessage(FetchProtocol::kCredentialsRejected);
        return false;
    }
    FetchingFiles = true;
    FileIndex = index;
    host_.setProgress(share * index + 2);
    if (kind == EntryKind::ServiceError) {
        host_.showMessage(entry);
        return true;
    }
    if (kind == EntryKind::Empty) return true;

    const std::string name = FetchProtocol::localFileName(entry);
    if (!FetchProtocol::isSafeLocalFileName(name)) {
        // Nothing may be written outside the patent folder; the run goes on.
        host_.showMessage(FetchProtocol::refusedFileNameMessage(entry));
        return true;
    }
    const std::string path = host_.currentSettings().PatentPath + name;
    bool fetch = true;
    if (fileCanBeOpened(path)) {
        fetch = host_.askYesNo(
            "Patent " + name + " already exists in local database. Do you want to reload it?",
            "Warning");
    }
    if (fetch) {
        Outcome file = attempt([&] { return getter_.get(entry); });
        if (!file.ok) {
            host_.showMessage(exceptionText(file));
            return false;
        }
        writeWholeFile(path, file.body);
    }
    const int preference = host_.viewingPreference();
    if (preference == 0 || (preference == 1 && index == 0)) host_.openDocument(path);
    return true;
}

void DownloadCommand::onWork(long long count) {
    host_.processEvents();
    if (!FetchingFiles) return;
    const long long expected = getter_.expectedLength();
    // A reply that declares length 0 keeps the bar at the start of its band.
    const int within =
        expected == 0 ? 0
                      : roundHalfEven(static_cast<double>(count) / static_cast<double>(expected) *
                                      share_);
    host_.setProgress(within + share_ * FileIndex);
}

}  // namespace vantorel
