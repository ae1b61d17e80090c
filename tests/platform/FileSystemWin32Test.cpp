#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Holds a file open the way another program (a PDF viewer) would.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD share)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(FindFilesWin32, TheAttributeFilterKeepsReadOnlyAndArchiveFiles) {
    TempDir dir;
    const std::pair<const char*, DWORD> files[] = {
        {"plain.pdf", FILE_ATTRIBUTE_NORMAL},
        {"readonly.pdf", FILE_ATTRIBUTE_READONLY},
        {"archive.pdf", FILE_ATTRIBUTE_ARCHIVE},
        {"hidden.pdf", FILE_ATTRIBUTE_HIDDEN},
        {"system.pdf", FILE_ATTRIBUTE_SYSTEM},
        {"both.pdf", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& [name, attributes] : files) {
        writeFile(dir.file(name), "%PDF");
        ASSERT_TRUE(SetFileAttributesA(dir.file(name).c_str(), attributes)) << name;
    }
    std::vector<std::string> names;
    for (const auto& file : findFiles(dir.folder(), "*.pdf")) names.push_back(file.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"archive.pdf", "plain.pdf", "readonly.pdf"}));
}

TEST(FileCanBeOpenedWin32, AFileHeldOpenElsewhereCountsAsAbsent) {
    TempDir dir;
    const std::string path = dir.file("US1.pdf");
    writeFile(path, "%PDF");
    {
        HeldOpen viewer(path, 0);
        ASSERT_TRUE(viewer.ok());
        EXPECT_FALSE(fileCanBeOpened(path));
    }
    {
        // Even a holder that lets others read and write keeps our exclusive open out.
        HeldOpen viewer(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(viewer.ok());
        EXPECT_FALSE(fileCanBeOpened(path));
    }
    EXPECT_TRUE(fileCanBeOpened(path));
}

TEST(WriteWholeFileWin32, AFileInUseIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.file("US1.pdf");
    writeFile(path, "old");
    {
        HeldOpen viewer(path, FILE_SHARE_READ);
        ASSERT_TRUE(viewer.ok());
        try {
            writeWholeFile(path, "new");
            FAIL();
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), "Cannot create file " + path);
        }
    }
    EXPECT_EQ(readFile(path), "old");
    writeWholeFile(path, "new");
    EXPECT_EQ(readFile(path), "new");
    // The replacement is an ordinary file, listed like any other.
    ASSERT_EQ(findFiles(dir.folder(), "*").size(), 1u);
    EXPECT_FALSE(GetFileAttributesA(path.c_str()) &
                 (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
}

TEST(PathsWin32, PathsAreWindowsPaths) {
    EXPECT_EQ(kPathSeparator, '\\');
    EXPECT_EQ(joinPath("C:\\Program Files\\X", "tessariant.ini"),
              "C:\\Program Files\\X\\tessariant.ini");
    EXPECT_EQ(fullPath("C:\\a\\b\\..\\c"), "C:\\a\\c");
    TempDir dir;
    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    // A path from the root of the current drive, as "\tessariant.ini" is
    // when the install folder is empty.
    EXPECT_EQ(fullPath("\\tessariant.ini"), dir.path().substr(0, 2) + "\\tessariant.ini");
    EXPECT_EQ(fullPath("x/y"), fullPath(dir.path()) + "\\x\\y");
    setCurrentDirectory(before);
}

}  // namespace
}  // namespace vantorel
