// The picker's placement and path checks, without a dialog.
#include <gtest/gtest.h>

#include "app/win32/picker/PickerRules.h"

namespace vantorel {
namespace {

TEST(PickerRules, DialogOrigin) {
    const struct {
        RECT monitor;
        SIZE dialog;
        POINT want;
    } cases[] = {
        {{0, 0, 1280, 1024}, {560, 420}, {360, 201}},
        // Odd spare room is cut, not rounded.
        {{0, 0, 1281, 1025}, {560, 420}, {360, 201}},
        // A second monitor to the right, and one above the first.
        {{1280, 0, 2560, 1024}, {560, 420}, {1640, 201}},
        {{0, -768, 1024, 0}, {560, 420}, {232, -652}},
        // A dialog larger than the monitor sticks out evenly left and right.
        {{0, 0, 400, 300}, {560, 420}, {-80, -40}},
    };
    for (const auto& c : cases) {
        const POINT at = dialogOrigin(c.monitor, c.dialog);
        EXPECT_EQ(at.x, c.want.x) << c.monitor.left << "," << c.monitor.top;
        EXPECT_EQ(at.y, c.want.y) << c.monitor.left << "," << c.monitor.top;
    }
}

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
