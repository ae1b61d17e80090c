#include "library/PatentFolder.h"

#include "platform/FileDateText.h"
#include "platform/FileSystem.h"

namespace vantorel::PatentFolder {

std::vector<PatentRow> scan(const std::string& patentPath) {
    std::vector<PatentRow> rows;
    for (const FoundFile& file : findFiles(patentPath, "*.pdf")) {
        rows.push_back({file.name.substr(0, file.name.find('.')), patentPath + file.name,
                        fileDateText(file.lastWrite)});
    }
    return rows;
}

std::string documentPath(const std::string& patentPath, const std::string& caption) {
    return patentPath + caption + ".pdf";
}

void viewSelected(PatentListHost& host, const std::string& patentPath) {
    if (host.selectedRow() < 0) return;
    host.openDocument(documentPath(patentPath, host.selectedCaption()));
}

void deleteSelected(PatentListHost& host, const std::string& patentPath) {
    if (host.selectedRow() < 0) return;
    if (host.askYesNo(kDeleteQuestion, "Warning"))
        removeFile(documentPath(patentPath, host.selectedCaption()));
    host.rescanPatents();
}

}  // namespace vantorel::PatentFolder
