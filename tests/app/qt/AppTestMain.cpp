// One application object for every widget test; the home and configuration
// folders point at a temporary folder so the real ones are never touched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "app/qt/Application.h"
#include "support/TempDir.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const vantorel::test::TempDir scratch;
    const std::string& home = scratch.path();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);

    vantorel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
