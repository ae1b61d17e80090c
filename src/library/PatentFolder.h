#pragma once

#include <string>
#include <vector>

namespace vantorel {

// One row of the "Downloaded Patents" list.
struct PatentRow {
    std::string caption;   // file name before its first "."
    std::string filePath;  // where the file is: the folder enumerated + file name
    std::string dateText;  // last-write time as a File date text
    std::string fileName;  // the name as enumerated, case and all; View and Delete use it
};

// What View and Delete need from the list's window.
class PatentListHost {
public:
    virtual ~PatentListHost() = default;
    virtual int selectedRow() const = 0;  // -1 when none
    virtual std::string selectedCaption() const = 0;
    // The selected row's PatentRow::fileName. A host that does not keep it
    // falls back to the caption + ".pdf", which misses "Z.PDF" and "a.b.pdf".
    virtual std::string selectedFileName() const { return selectedCaption() + ".pdf"; }
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    virtual void openDocument(const std::string& path) = 0;
    virtual void rescanPatents() = 0;
};

namespace PatentFolder {

// The PDFs that PatentPath + "*.pdf" names (ordinary, non-hidden files),
// unsorted. A PatentPath without a trailing separator names files beside the
// folder that start with its last component, which is where downloads land.
std::vector<PatentRow> scan(const std::string& patentPath);

// The file a row's enumerated name stands for under `patentPath`.
std::string documentPath(const std::string& patentPath, const std::string& fileName);

// Opens the selected row's document; nothing when no row is selected.
void viewSelected(PatentListHost& host, const std::string& patentPath);

// Asks, deletes on Yes, and rebuilds the list either way; nothing when no row is selected.
void deleteSelected(PatentListHost& host, const std::string& patentPath);

inline constexpr const char* kDeleteQuestion = "File will be deleted permanently.\n\rAre you sure?";

}  // namespace PatentFolder
}  // namespace vantorel
