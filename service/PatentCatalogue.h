#pragma once

#include <cstddef>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "OpenFile.h"

namespace vantorel::service {

// Where documents come from: "<NUMBER>.pdf" files in the catalogue folder
// (names matched by their canonical number, so case and "-" do not matter),
// then the generated sample documents.
class PatentCatalogue {
public:
    struct Document {
        OpenFile file;                                 // a catalogue file, or
        std::shared_ptr<const std::string> generated;  // a generated sample
    };

    // An empty folder means samples only. Throws vantorel::Failure when the
    // folder is given but cannot be read.
    PatentCatalogue(std::string folder, std::size_t sampleSize);

    bool contains(const std::string& canonical);
    std::optional<Document> find(const std::string& canonical);

private:
    void refreshIndex();  // with mutex_ held
    std::shared_ptr<const std::string> sample(const std::string& canonical);

    std::string folder_;
    std::size_t sampleSize_;
    std::mutex mutex_;
    std::map<std::string, std::string> index_;  // canonical number -> file path
    struct timespec indexedChange_ {};
    bool indexed_ = false;
    std::map<std::string, std::shared_ptr<const std::string>> samples_;
    std::size_t cachedBytes_ = 0;
};

}  // namespace vantorel::service
