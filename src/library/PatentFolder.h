#pragma once

#include <string>
#include <vector>

namespace vantorel {

// One row of the "Downloaded Patents" list.
struct PatentRow {
    std::string caption;   // file name before its first "."
    std::string filePath;  // PatentPath + file name
    std::string dateText;  // last-write time as a File date text
};

// What View and Delete need from the list's window.
class PatentListHost {
public:
    virtual ~PatentListHost() = default;
    virtual int selectedRow() const = 0;  // -1 when none
    virtual std::string selectedCaption() const = 0;
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    virtual void openDocument(const std::string& path) = 0;
    virtual void rescanPatents() = 0;
};

namespace PatentFolder {

// The PDFs of the folder (ordinary, non-hidden "*.pdf" files), unsorted.
std::vector<PatentRow> scan(const std::string& patentPath);

// The document a row stands for, rebuilt from its caption.
std::string documentPath(const std::string& patentPath, const std::string& caption);

// Opens the selected row's document; nothing when no row is selected.
void viewSelected(PatentListHost& host, const std::string& patentPath);

// Asks, deletes on Yes, and rebuilds the list either way; nothing when no row is selected.
void deleteSelected(PatentListHost& host, const std::string& patentPath);

inline constexpr const char* kDeleteQuestion =
    "File will be deleted permanently.\n\rAre you sure?";

}  // namespace PatentFolder
}  // namespace vantorel
