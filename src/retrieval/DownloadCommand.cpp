#include "retrieval/DownloadCommand.h"

#include <climits>
#include <cstdint>
#include <optional>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"
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

// Ends a request whose body can no longer be saved. Not a Failure, so the
// HTTP client passes it through without its labels; the save's own failure
// then goes to the error box as it is.
struct SaveStopped {};

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

// Whether an entry of the body rejects the account: the text stands before a marker.
bool rejectsAccount(const std::string& body) {
    const std::size_t at = body.find(FetchProtocol::kCredentialsRejected);
    return at != std::string::npos &&
           body.find(FetchProtocol::kEntryMarker, at) != std::string::npos;
}

std::string exceptionText(const Outcome& outcome) {
    return "Exception: " + (outcome.hasMessage ? outcome.failure : std::string("Unknown"));
}

// The fetch request's failure: its innermost message, or the time-out text.
void showFetchFailure(DownloadHost& host, Outcome& index) {
    if (index.hasMessage) {
        std::string& message = index.failure;
        for (std::size_t cut; (cut = message.find("-->")) != std::string::npos;)
            message.erase(0, cut + 3);
        if (message.find("Read Timeout") != std::string::npos)
            message = DownloadCommand::timeoutMessage();
    }
    host.showMessage(exceptionText(index));
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

    // The product wraps like the 32-bit multiplication it stands for.
    const std::int32_t seconds = parseWholeNumber(host_.timeoutText());
    getter_.setReadTimeout(static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds) * 1000u));
    getter_.setCaFile(host_.caFile());

    std::vector<std::string> bodies;
    if (!fetchIndexes(request, &bodies)) return;

    // The entries are taken from the bodies one at a time as they are processed.
    std::size_t count = 0;
    for (const std::string& body : bodies) count += FetchProtocol::countIndexEntries(body);
    FileCount = count > INT_MAX ? INT_MAX : static_cast<int>(count);
    if (FileCount == 0) {
        host_.rescanPatents();
        return;
    }
    share_ = roundHalfEven(100.0 / FileCount);
    cleanedFolder_.reset();
    int i = 0;
    for (const std::string& body : bodies) {
        for (std::size_t from = 0; i < FileCount; ++i) {
            const auto entry = FetchProtocol::nextIndexEntry(body, &from);
            if (!entry) break;
            if (!processEntry(i, std::string(*entry), share_)) return;
        }
    }
    host_.rescanPatents();
}

bool DownloadCommand::fetchIndexes(const std::string& request, std::vector<std::string>* bodies) {
    const CurrentSettings& settings = host_.currentSettings();
    // The whole request goes first. A service that refuses it as too long
    // (414) gets it in halves, and each half again in halves while refused;
    // the parts' Index responses are then walked as one, in request order.
    std::vector<std::string> parts{request};  // still to send, the next one last
    while (!parts.empty()) {
        const std::string part = std::move(parts.back());
        parts.pop_back();
        const std::string address = FetchProtocol::composeFetchAddress(
            host_.serviceHost(), part, settings.UserLogin, settings.UserPassword);
        fetchAddress_ = address;  // every part has the same scheme
        Outcome index = attempt([&] { return getter_.get(address); });
        if (!index.ok) {
            const bool tooLong = getter_.refusedStatus() == 414;
            if (auto halves = tooLong ? FetchProtocol::splitRequest(part) : std::nullopt) {
                parts.push_back(std::move(halves->second));
                parts.push_back(std::move(halves->first));
                continue;
            }
            showFetchFailure(host_, index);
            return false;
        }
        // The walk stops at a rejected account, so the rest is not asked for.
        if (rejectsAccount(index.body)) parts.clear();
        bodies->push_back(std::move(index.body));
    }
    return true;
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
    if (FetchProtocol::leavesHttps(fetchAddress_, entry)) {
        host_.showMessage(FetchProtocol::unencryptedAddressMessage(entry));
        return true;
    }

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
    if (fetch && !fetchFile(entry, path)) return false;
    const int preference = host_.viewingPreference();
    if ((preference == 0 || (preference == 1 && index == 0)) && FetchProtocol::isViewableName(name))
        host_.openDocument(path);
    return true;
}

bool DownloadCommand::fetchFile(const std::string& address, const std::string& path) {
    const std::string folder = host_.currentSettings().PatentPath;
    if (cleanedFolder_ != folder) {
        // What a run killed while saving left behind goes before we add to it.
        TemporaryFile::removeStale(folder);
        cleanedFolder_ = folder;
    }
    // Made before any byte is requested, so a folder that takes no file fails at once.
    TemporaryFile file(path);
    std::optional<Failure> writeFailure;
    Outcome fetched = attempt([&] {
        getter_.getTo(address, [&](const char* data, std::size_t size) {
            try {
                file.write(data, size);
            } catch (const Failure& failure) {
                writeFailure = failure;
                throw SaveStopped{};
            }
        });
        return std::string();
    });
    if (writeFailure) throw *writeFailure;
    if (!fetched.ok) {
        // Gone before the box opens, so nothing half-written is left while
        // it waits (or when the program is ended meanwhile); an older file
        // stays as it was.
        file.discard();
        host_.showMessage(exceptionText(fetched));
        return false;
    }
    file.commit();
    return true;
}

void DownloadCommand::onWork(long long count) {
    host_.processEvents();
    if (!FetchingFiles) return;
    const long long expected = getter_.expectedLength();
    // A reply that declares length 0 keeps the bar at the start of its band.
    const int within =
        expected == 0
            ? 0
            : roundHalfEven(static_cast<double>(count) / static_cast<double>(expected) * share_);
    host_.setProgress(within + share_ * FileIndex);
}

}  // namespace vantorel
