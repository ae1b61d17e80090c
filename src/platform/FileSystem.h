#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

struct FoundFile {
    std::string name;      // file name without folder
    std::time_t lastWrite; // seconds since the epoch, UTC
};

// Ordinary, non-hidden files in `folder` (which ends in a separator, or is
// empty for the working directory) whose names match `mask` ("*" and "?"
// wildcards, compared without regard to case), in enumeration order.
// A missing or unreadable folder gives an empty list.
std::vector<FoundFile> findFiles(const std::string& folder, const std::string& mask);

// Wildcard match as the enumeration applies it (exposed for tests).
bool matchesMask(std::string_view name, std::string_view mask);

// The existence test used before overwriting: the file can be opened for reading.
bool fileCanBeOpened(const std::string& path);

// Creates or replaces `path` with `data`. The bytes go to a temporary file in
// the same folder first and replace the target only when all are written, so
// a failure never leaves a truncated file. Failures:
// "Cannot create file <path>" when the file cannot be created,
// "Cannot write file <path>" when writing the bytes fails.
void writeWholeFile(const std::string& path, std::string_view data);

// Removes a file; the result is not looked at by the callers.
bool removeFile(const std::string& path);

}  // namespace vantorel
