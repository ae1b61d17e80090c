#include "library/PatentFolder.h"

#include "platform/FileDateText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vantorel::PatentFolder {
namespace {

// Where the folder part of a path ends: after its last separator ("/" is one
// on Windows too, and so is the colon of "C:name").
std::size_t folderPartLength(const std::string& path) {
    const char* separators = kPathSeparator == '\\' ? "\\/:" : "/";
    const std::size_t cut = path.find_last_of(separators);
    return cut == std::string::npos ? 0 : cut + 1;
}

}  // namespace

std::vector<PatentRow> scan(const std::string& patentPath) {
    // PatentPath + "*.pdf" as one pattern: whatever follows the last separator
    // is the start of the names, as it is for the files a download writes.
    const std::size_t split = folderPartLength(patentPath);
    const std::string folder = patentPath.substr(0, split);
    std::vector<PatentRow> rows;
    for (const FoundFile& file : findFiles(folder, patentPath.substr(split) + "*.pdf")) {
        rows.push_back({file.name.substr(0, file.name.find('.')), folder + file.name,
                        fileDateText(file.lastWrite), file.name});
    }
    return rows;
}

std::string documentPath(const std::string& patentPath, const std::string& fileName) {
    return patentPath.substr(0, folderPartLength(patentPath)) + fileName;
}

void viewSelected(PatentListHost& host, const std::string& patentPath) {
    if (host.selectedRow() < 0) return;
    host.openDocument(documentPath(patentPath, host.selectedFileName()));
}

void deleteSelected(PatentListHost& host, const std::string& patentPath) {
    if (host.selectedRow() < 0) return;
    if (host.askYesNo(kDeleteQuestion, "Warning"))
        removeFile(documentPath(patentPath, host.selectedFileName()));
    host.rescanPatents();
}

}  // namespace vantorel::PatentFolder
