#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "app/win32/picker/TOpenDirectory.h"

namespace vantorel {

// A folder tree of our own (Data with Sub and Other, and a file the picker
// must not list), a visible owner window, and the working directory put back
// afterwards. Needs a display: without one the tests are skipped.
class PickerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the picker with the steps and fails the test if the limit ended it.
    int run(std::vector<DialogDriver::Step> steps);
    void recordEvents();

    std::string root;  // the tree's folder, without trailing backslash
    std::string data;  // root\Data
    std::string sub;   // root\Data\Sub
    std::string startDirectory;
    HWND ownerWindow = nullptr;
    TOpenDirectory picker;
    std::vector<std::string> events;  // "show", "folder <Directory>", "close"
    std::vector<TImplOpenDirectory*> senders;
};

}  // namespace vantorel
