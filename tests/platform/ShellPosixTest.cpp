#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Shell.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// The opener's result is ignored, so its complaints (a desktop without a
// viewer prints many lines) must not reach our terminal either.
TEST(ShellPosix, TheOpenerWritesNothingIntoOurStreams) {
    TempDir dir;
    const std::string opened = dir.file("opened");
    writeFile(dir.file("xdg-open"),
              "#!/bin/sh\necho noise\necho more noise >&2\n"
              "echo \"$1\" >\"" +
                  opened +
                  ".part\"\n"
                  "mv \"" +
                  opened + ".part\" \"" + opened + "\"\n");
    ASSERT_EQ(chmod(dir.file("xdg-open").c_str(), 0755), 0);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", (dir.path() + ":" + path).c_str(), 1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    shellOpen("/folder/US1.pdf");
    for (int i = 0; i < 200 && !std::filesystem::exists(opened); ++i) usleep(25000);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(readFile(opened), "/folder/US1.pdf\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace vantorel
