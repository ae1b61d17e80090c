// One application object for every widget test; the home and configuration
// folders point at a temporary folder so the real ones are never touched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/qt/Application.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantorel-home-XXXXXX").string();
    const std::string home = mkdtemp(pattern.data());
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);

    vantorel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(home);
    return result;
}
