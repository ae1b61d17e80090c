#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>

#include "support/TempDir.h"

// Widget tests need one application object for the whole run and no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever Qt reads or writes for itself stays out of the real home.
    vantorel::test::TempDir home;
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + "/cache").c_str(), 1);
    const std::string runtime = home.path() + "/runtime";
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
