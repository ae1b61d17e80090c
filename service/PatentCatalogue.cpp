#include "PatentCatalogue.h"

#include <dirent.h>
#include <sys/stat.h>

#include "HttpText.h"
#include "PatentNumber.h"
#include "SamplePdf.h"
#include "platform/Failure.h"

namespace vantorel::service {

namespace {

// Large benchmark samples are generated per request rather than all kept.
constexpr std::size_t kMostCachedBytes = 256u << 20;

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

PatentCatalogue::PatentCatalogue(std::string folder, std::size_t sampleSize)
    : folder_(std::move(folder)), sampleSize_(sampleSize) {
    if (folder_.empty()) return;
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) throw Failure("Cannot read the catalogue folder " + folder_);
    ::closedir(dir);
    std::lock_guard lock(mutex_);
    refreshIndex();
}

void PatentCatalogue::refreshIndex() {
    // The folder's change time moves whenever a file is added, removed or
    // renamed there, so the listing is read again only then.
    struct stat info {};
    if (::stat(folder_.c_str(), &info) != 0) {
        index_.clear();
        indexed_ = false;
        return;
    }
    if (indexed_ && sameTime(info.st_mtim, indexedChange_)) return;
    index_.clear();
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= 4 || name.front() == '.') continue;
        if (!HttpText::equalsIgnoringCase(name.substr(name.size() - 4), ".pdf")) continue;
        const auto canonical = canonicalPatentNumber(name.substr(0, name.size() - 4));
        if (canonical) index_.emplace(*canonical, folder_ + "/" + name);
    }
    ::closedir(dir);
    indexedChange_ = info.st_mtim;
    indexed_ = true;
}

bool PatentCatalogue::contains(const std::string& canonical) {
    if (isSampleNumber(canonical)) return true;
    if (folder_.empty()) return false;
    std::lock_guard lock(mutex_);
    refreshIndex();
    return index_.count(canonical) != 0;
}

std::optional<PatentCatalogue::Document> PatentCatalogue::find(const std::string& canonical) {
    if (!folder_.empty()) {
        std::string path;
        {
            std::lock_guard lock(mutex_);
            refreshIndex();
            if (auto it = index_.find(canonical); it != index_.end()) path = it->second;
        }
        if (!path.empty()) {
            OpenFile file = OpenFile::open(path);
            if (file.isOpen()) return Document{std::move(file), nullptr};
        }
    }
    if (isSampleNumber(canonical)) return Document{OpenFile(), sample(canonical)};
    return std::nullopt;
}

std::shared_ptr<const std::string> PatentCatalogue::sample(const std::string& canonical) {
    {
        std::lock_guard lock(mutex_);
        if (auto it = samples_.find(canonical); it != samples_.end()) return it->second;
    }
    auto document =
        std::make_shared<const std::string>(SamplePdf::generate(canonical, sampleSize_));
    std::lock_guard lock(mutex_);
    if (cachedBytes_ + document->size() <= kMostCachedBytes && !samples_.count(canonical)) {
        samples_.emplace(canonical, document);
        cachedBytes_ += document->size();
    }
    return document;
}

}  // namespace vantorel::service
