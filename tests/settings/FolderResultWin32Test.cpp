// The picker's path rules with Windows paths, and the network form through the
// system's own WNetGetUniversalNameA.
#include <gtest/gtest.h>

#include "platform/NetworkName.h"
#include "platform/Paths.h"
#include "settings/FolderResult.h"

namespace vantorel {
namespace {

TEST(FolderResultWin32, WhatAnAcceptedPickLeaves) {
    const struct {
        const char* directory;
        const char* unc;
        const char* wantDirectory;
        const char* wantUnc;
        const char* wantWorkingDir;
    } cases[] = {
        // A local folder: its network form is the path itself, which is dropped.
        {"C:\\Data", "C:\\Data", "C:\\Data", "", "C:\\Data"},
        // A folder on a mapped drive keeps both forms.
        {"N:\\Docs", "\\\\filer\\docs\\Docs", "N:\\Docs", "\\\\filer\\docs\\Docs", "N:\\Docs"},
        // Reached by its network name only.
        {"\\\\filer\\docs", "\\\\filer\\docs", "", "\\\\filer\\docs", "\\\\filer\\docs"},
    };
    for (const auto& c : cases) {
        const FolderResult r = FolderResult::accepted(c.directory, c.unc, false);
        SCOPED_TRACE(c.directory);
        EXPECT_EQ(r.directory, c.wantDirectory);
        EXPECT_EQ(r.uncDirectory, c.wantUnc);
        ASSERT_TRUE(r.workingDirectory.has_value());
        EXPECT_EQ(*r.workingDirectory, c.wantWorkingDir);
    }
}

TEST(FolderResultWin32, FoldersFromTheDialog) {
    EXPECT_EQ(pickerInitialFolder("C:\\", "D:\\x"), "C:\\");
    EXPECT_EQ(pickerInitialFolder("C:\\Data\\", "D:\\x"), "C:\\Data");
    EXPECT_EQ(pickerInitialFolder("", "D:\\x\\"), "D:\\x");
    EXPECT_EQ(listClickPath("C:\\", "Data"), "C:\\Data");
    EXPECT_EQ(listClickPath("C:\\Data", "Sub"), "C:\\Data\\Sub");
}

TEST(FolderResultWin32, NetworkFormThroughTheSystem) {
    const NetworkNameLookup names = systemNetworkNames();
    const std::string local = fullPath(".");
    ASSERT_GE(local.size(), 3u);
    ASSERT_EQ(local[1], ':');
    // Not on a network drive: the full path unchanged, which the result rules drop.
    EXPECT_EQ(networkForm(".", names), local);
    EXPECT_EQ(FolderResult::accepted(local, networkForm(".", names), true).uncDirectory, "");
    // Paths that are no drive path are never asked about.
    EXPECT_EQ(names("\\\\filer\\docs\\x"), "\\\\filer\\docs\\x");
    EXPECT_EQ(names("C:"), "C:");
    EXPECT_EQ(networkForm("", names), "");
}

TEST(FolderResultWin32, NetworkFormOfAMappedDrive) {
    // A stand-in for a connected drive N: mapped to \\filer\docs.
    const NetworkNameLookup names = [](const std::string& full) {
        return full.rfind("N:", 0) == 0 ? "\\\\filer\\docs" + full.substr(2) : full;
    };
    EXPECT_EQ(networkForm("N:\\Docs\\..\\Team", names), "\\\\filer\\docs\\Team");
}

}  // namespace
}  // namespace vantorel
