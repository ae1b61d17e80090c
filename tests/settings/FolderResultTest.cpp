#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "platform/posix/MountTable.h"
#include "settings/FolderResult.h"

namespace vantorel {
namespace {

TEST(FolderResult, ResultRules) {
    const struct {
        const char* directory;
        const char* unc;
        bool noChangeDir;
        const char* wantDirectory;
        const char* wantUnc;
        const char* wantWorkingDir;  // nullptr: not touched
    } cases[] = {
        // Local folder: its path, no network form, the working directory follows.
        {"/home/ann/Data", "", false, "/home/ann/Data", "", "/home/ann/Data"},
        {"/home/ann/Data", "", true, "/home/ann/Data", "", nullptr},
        {"/", "", false, "/", "", "/"},
        // A folder on a network mount keeps both forms; the working directory is the local one.
        {"/mnt/share/Docs", "//filer/docs/Docs", false, "/mnt/share/Docs", "//filer/docs/Docs",
         "/mnt/share/Docs"},
        {"/mnt/share/Docs", "//filer/docs/Docs", true, "/mnt/share/Docs", "//filer/docs/Docs",
         nullptr},
        // Reached by its network name only: no local form.
        {"//filer/docs/Docs", "//filer/docs/Docs", false, "", "//filer/docs/Docs",
         "//filer/docs/Docs"},
        {"//filer/docs/Docs", "//filer/docs/Docs", true, "", "//filer/docs/Docs", nullptr},
        // A network form equal to the local one of a rooted path is dropped.
        {"/x", "/x", false, "/x", "", "/x"},
        // Drive paths, as the Windows build sees them.
        {"C:\\Data", "", false, "C:\\Data", "", "C:\\Data"},
        {"C:\\Data", "C:\\Data", true, "C:\\Data", "", nullptr},
        // Neither rooted nor network: both stay, the working directory is left alone.
        {"relative", "", false, "relative", "", nullptr},
        {"", "", false, "", "", nullptr},
        // Comparisons are case-sensitive.
        {"//Filer/docs", "//filer/docs", false, "//Filer/docs", "//filer/docs", "//Filer/docs"},
    };
    for (const auto& c : cases) {
        const FolderResult r = FolderResult::accepted(c.directory, c.unc, c.noChangeDir);
        SCOPED_TRACE(std::string(c.directory) + " | " + c.unc);
        EXPECT_EQ(r.directory, c.wantDirectory);
        EXPECT_EQ(r.uncDirectory, c.wantUnc);
        if (c.wantWorkingDir) {
            ASSERT_TRUE(r.workingDirectory.has_value());
            EXPECT_EQ(*r.workingDirectory, c.wantWorkingDir);
        } else {
            EXPECT_FALSE(r.workingDirectory.has_value());
        }
    }
}

TEST(FolderResult, InitialFolder) {
    const struct {
        const char* initialDir;
        const char* workingDir;
        const char* expected;
    } cases[] = {
        {"", "/home/ann", "/home/ann"},
        {"/data/", "/home/ann", "/data"},    // one trailing separator dropped
        {"/data//", "/home/ann", "/data/"},  // only one
        {"/", "/home/ann", "/"},             // the root stays
        {"", "/", "/"},
        {"", "/work/", "/work"},
        {"C:/", "/x", "C:/"},  // a drive root is kept as well
        {"", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pickerInitialFolder(c.initialDir, c.workingDir), c.expected) << c.initialDir;
}

TEST(FolderResult, ListClickPath) {
    const struct {
        const char* folder;
        const char* name;
        const char* expected;
    } cases[] = {
        {"/data", "Sub", "/data/Sub"},
        {"/", "Sub", "/Sub"},  // no doubled separator at the root
        {"/data/", "Sub", "/data/Sub"},
        {"/data", "", ""},
        {"", "Sub", ""},
        {"/data", "with blank", "/data/with blank"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listClickPath(c.folder, c.name), c.expected) << c.folder << " + " << c.name;
}

TEST(FolderResult, NetworkFormExpandsRelativePaths) {
    const MountTable table = MountTable::parse("1 0 0:1 / /mnt/s rw - cifs //srv/share rw\n");
    const std::string saved = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory("/"));
    EXPECT_EQ(networkForm("mnt/s/a/../b", table.lookup()), "//srv/share/b");
    EXPECT_EQ(networkForm("", table.lookup()), "");
    EXPECT_EQ(networkForm("/tmp", table.lookup()), "");
    setCurrentDirectory(saved);
}

}  // namespace
}  // namespace vantorel
