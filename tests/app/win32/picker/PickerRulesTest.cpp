// The picker's path checks, without a dialog.
#include <gtest/gtest.h>

#include "app/win32/picker/PickerRules.h"

namespace vantorel {
namespace {

TEST(PickerRules, WhatCountsAsAFolderOfTheFileSystem) {
    const struct {
        const char* path;
        bool folder;
    } cases[] = {
        {"C:\\", true},
        {"c:\\Data\\Sub", true},
        {"\\\\filer\\docs\\Team", true},
        {"::{20d04fe0-3aea-1069-a2d8-08002b30309d}", false},  // the list of drives
        {"", false},
        {"C", false},
        {"1:\\", false},
        {"Data\\Sub", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isFileSystemFolder(c.path), c.folder) << c.path;
}

}  // namespace
}  // namespace vantorel
