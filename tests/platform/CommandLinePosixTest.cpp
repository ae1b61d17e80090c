#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vantorel {
namespace {

TEST(CommandLineRequestPosix, IsTheFirstArgumentAsTheExecGaveIt) {
    char program[] = "vantorel", first[] = "US 1\"x", second[] = "US2";
    char* argv[] = {program, first, second, nullptr};
    EXPECT_EQ(commandLineRequest(3, argv), "US 1\"x");
    EXPECT_EQ(commandLineRequest(1, argv), "");
    EXPECT_EQ(commandLineRequest(0, argv), "");
}

}  // namespace
}  // namespace vantorel
