// The one placement rule of both folder pickers.
#include "form/PickerPlacement.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(PickerPlacement, CentredAcrossAThirdDownHalvesToEven) {
    const struct {
        int left, top, width, height;  // the monitor
        int dialogWidth, dialogHeight;
        int wantLeft, wantTop;
    } cases[] = {
        {0, 0, 800, 600, 560, 380, 120, 73},           // 73.33 rounds down
        {0, 0, 801, 600, 560, 380, 120, 73},           // 120.5 goes to the even neighbour
        {0, 0, 803, 602, 560, 380, 122, 74},           // 121.5 likewise, 74 up
        {0, 0, 1281, 1025, 560, 420, 360, 202},        // 201.67 rounds up, not cut
        {1920, 100, 1280, 1024, 600, 400, 2260, 308},  // a second monitor
        {0, -768, 1024, 768, 560, 420, 232, -652},     // one above the first
        {0, 0, 400, 300, 561, 420, -80, -40},          // larger than the monitor: -80.5
    };
    for (const auto& c : cases) {
        const PickerOrigin at =
            pickerOrigin(c.left, c.top, c.width, c.height, c.dialogWidth, c.dialogHeight);
        EXPECT_EQ(at.left, c.wantLeft) << c.width << "x" << c.height;
        EXPECT_EQ(at.top, c.wantTop) << c.width << "x" << c.height;
    }
}

}  // namespace
}  // namespace vantorel
