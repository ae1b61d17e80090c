#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TemporaryFile.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(MatchesMask, WildcardsIgnoreCase) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"US6892391.pdf", "*.pdf", true},
        {"a.PDF", "*.pdf", true},
        {".pdf", "*.pdf", true},
        {"a.pdfx", "*.pdf", false},
        {"a.pd", "*.pdf", false},
        {"a.b.pdf", "*.pdf", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"x", "*", true},
        {"", "*", true},
        {"pdf", "*.pdf", false},
    };
    for (const auto& [name, mask, expected] : cases)
        EXPECT_EQ(matchesMask(name, mask), expected) << name << " ~ " << mask;
}

TEST(FindFiles, ListsOrdinaryVisiblePdfsOnly) {
    TempDir dir;
    for (const char* name :
         {"US6892391.pdf", "EP1534056.PDF", "a.b.pdf", ".hidden.pdf", "notes.txt", "a.pdfx"})
        writeFile(dir.file(name), "x");
    test::makeHidden(dir.file(".hidden.pdf"));
    std::filesystem::create_directory(dir.file("x.pdf"));
    std::vector<std::string> names;
    for (const auto& file : findFiles(dir.folder(), "*.pdf")) {
        names.push_back(file.name);
        EXPECT_GT(file.lastWrite, 0);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"EP1534056.PDF", "US6892391.pdf", "a.b.pdf"}));
    EXPECT_TRUE(findFiles(dir.file("missing") + kPathSeparator, "*.pdf").empty());
}

TEST(FindFiles, ReportsTheLastWriteTime) {
    TempDir dir;
    writeFile(dir.file("a.pdf"), "x");
    const auto when = std::chrono::file_clock::from_sys(
        std::chrono::sys_seconds(std::chrono::seconds(1115715846)));
    std::filesystem::last_write_time(dir.file("a.pdf"), when);
    const auto found = findFiles(dir.folder(), "*.pdf");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].lastWrite, 1115715846);
}

TEST(WriteWholeFile, ReplacesAtomicallyAndLeavesNoTemporaryFiles) {
    TempDir dir;
    const std::string path = dir.file("a.pdf");
    writeFile(path, "old content");
    writeWholeFile(path, std::string("new\0bytes", 9));
    EXPECT_EQ(readFile(path), std::string("new\0bytes", 9));
    writeWholeFile(dir.file("b.pdf"), "");
    EXPECT_EQ(readFile(dir.file("b.pdf")), "");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);  // none is left behind
}

TEST(WriteWholeFile, FailsWithThePathAndKeepsTheOldFile) {
    TempDir dir;
    const std::string missing = dir.file("nofolder") + kPathSeparator + "a.pdf";
    try {
        writeWholeFile(missing, "x");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Cannot create file " + missing);
    }
    std::filesystem::create_directory(dir.file("sub.pdf"));
    EXPECT_THROW(writeWholeFile(dir.file("sub.pdf"), "x"), Failure);

    const std::string locked = dir.file("locked.pdf");
    writeFile(locked, "keep");
    {
        test::Unwritable guard(locked);
        try {
            writeWholeFile(locked, "new");
            FAIL();
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), "Cannot create file " + locked);
        }
    }
    EXPECT_EQ(readFile(locked), "keep");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);  // sub.pdf and locked.pdf, no temporary file
}

TEST(FileCanBeOpened, TellsPresentFilesOnly) {
    TempDir dir;
    writeFile(dir.file("a.pdf"), "");
    EXPECT_TRUE(fileCanBeOpened(dir.file("a.pdf")));
    EXPECT_FALSE(fileCanBeOpened(dir.file("b.pdf")));
    EXPECT_FALSE(fileCanBeOpened(dir.path()));
    EXPECT_TRUE(removeFile(dir.file("a.pdf")));
    EXPECT_FALSE(removeFile(dir.file("a.pdf")));
}

TEST(Paths, FullPathAndWorkingDirectory) {
    TempDir dir;
    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    const std::string here = std::filesystem::canonical(dir.path()).string();
    EXPECT_EQ(fullPath(std::string("sub") + kPathSeparator + ".." + kPathSeparator + "x"),
              here + kPathSeparator + "x");
    EXPECT_EQ(fullPath(""), "");
    EXPECT_FALSE(setCurrentDirectory(dir.file("missing")));
    setCurrentDirectory(before);
    EXPECT_EQ(currentDirectory(), before);
}

TEST(TemporaryFile, StaleOnesOfOursGoWhileLiveOnesAndOtherFilesStay) {
    TempDir dir;
    const std::vector<std::string> others = {".hidden", ".a.pdf.Xy12ab", ".vantorel-0123abcd.tmpx",
                                             ".vantorel-0123ABCD.tmp", "a.pdf"};
    for (const auto& name : others) writeFile(dir.file(name), "keep");
    writeFile(dir.file(".vantorel-89abcdef.tmp"), "stale");
    {
        TemporaryFile live(dir.file("b.pdf"));
        live.write("new", 3);
        EXPECT_LE(live.path().size() - dir.folder().size(), 22u);  // short, whatever the target
        TemporaryFile::removeStale(dir.folder());
        EXPECT_TRUE(std::filesystem::exists(live.path()));
        live.commit();
        TemporaryFile dropped(dir.file("c.pdf"));
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = others;
    expected.push_back("b.pdf");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(readFile(dir.file("b.pdf")), "new");
}

}  // namespace
}  // namespace vantorel
