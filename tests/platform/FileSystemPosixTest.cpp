#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace vantorel {
namespace {

TEST(PathsPosix, RootAndTrailingSeparators) {
    EXPECT_EQ(fullPath("/"), "/");
    EXPECT_EQ(fullPath("/a/b/"), "/a/b");
}

}  // namespace
}  // namespace vantorel
