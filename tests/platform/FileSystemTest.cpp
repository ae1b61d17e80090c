#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(MatchesMask, WildcardsIgnoreCase) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"US6892391.pdf", "*.pdf", true}, {"a.PDF", "*.pdf", true}, {".pdf", "*.pdf", true},
        {"a.pdfx", "*.pdf", false},       {"a.pd", "*.pdf", false}, {"a.b.pdf", "*.pdf", true},
        {"abc", "a?c", true},             {"ac", "a?c", false},     {"x", "*", true},
        {"", "*", true},                  {"pdf", "*.pdf", false},
    };
    for (const auto& [name, mask, expected] : cases)
        EXPECT_EQ(matchesMask(name, mask), expected) << name << " ~ " << mask;
}

TEST(FindFiles, ListsOrdinaryVisiblePdfsOnly) {
    TempDir dir;
    for (const char* name : {"US6892391.pdf", "EP1534056.PDF", "a.b.pdf", ".hidden.pdf", "notes.txt"})
        writeFile(dir.file(name), "x");
    mkdir(dir.file("x.pdf").c_str(), 0700);
    std::vector<std::string> names;
    for (const auto& file : findFiles(dir.folder(), "*.pdf")) {
        names.push_back(file.name);
        EXPECT_GT(file.lastWrite, 0);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"EP1534056.PDF", "US6892391.pdf", "a.b.pdf"}));
    EXPECT_TRUE(findFiles(dir.file("missing") + "/", "*.pdf").empty());
}

TEST(WriteWholeFile, ReplacesAtomicallyAndLeavesNoTemporaryFiles) {
    TempDir dir;
    const std::string path = dir.file("a.pdf");
    writeFile(path, "old content");
    writeWholeFile(path, std::string("new\0bytes", 9));
    EXPECT_EQ(readFile(path), std::string("new\0bytes", 9));
    EXPECT_EQ(findFiles(dir.folder(), "*").size(), 1u);
    EXPECT_EQ(findFiles(dir.folder(), ".*").size(), 0u);  // hidden temp files are not listed...
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);  // ...and none is left behind
}

TEST(WriteWholeFile, FailsWithThePathAndKeepsTheOldFile) {
    TempDir dir;
    const std::string missing = dir.file("nofolder/a.pdf");
    try {
        writeWholeFile(missing, "x");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Cannot create file " + missing);
    }
    mkdir(dir.file("sub.pdf").c_str(), 0700);
    EXPECT_THROW(writeWholeFile(dir.file("sub.pdf"), "x"), Failure);

    {
        const std::string readOnly = dir.file("ro.pdf");
        writeFile(readOnly, "keep");
        chmod(readOnly.c_str(), 0444);
        EXPECT_THROW(writeWholeFile(readOnly, "new"), Failure);
        EXPECT_EQ(readFile(readOnly), "keep");
    }
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
    EXPECT_EQ(fullPath("sub/../x"), std::filesystem::canonical(dir.path()).string() + "/x");
    EXPECT_EQ(fullPath(""), "");
    EXPECT_EQ(fullPath("/"), "/");
    EXPECT_EQ(fullPath("/a/b/"), "/a/b");
    EXPECT_FALSE(setCurrentDirectory(dir.file("missing")));
    setCurrentDirectory(before);
}

}  // namespace
}  // namespace vantorel
