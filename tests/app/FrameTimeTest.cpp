#include "app/FrameTime.h"

#include <gtest/gtest.h>

// The clamp is the float 0.04 widened to double, a hair below the double 0.04; the first frame, which
// includes all loading, is clamped too.
TEST(FrameTime, TheClampIsTheFloatValueWidenedAndTheTitleShowsTheRate) {
    for (double slow : {0.1, 12.0, 0.04, 0.039999999105930328}) {
        EXPECT_EQ(common::app::clampFrameTime(slow), 0.039999999105930328) << slow;
    }
    EXPECT_EQ(common::app::clampFrameTime(0.016), 0.016);
    EXPECT_EQ(common::app::frameRateTitle(0.016), " 62.50");
    EXPECT_EQ(common::app::frameRateTitle(common::app::clampFrameTime(0.1)), " 25.00");
    EXPECT_EQ(common::app::frameRateTitle(0.001), " 1000.00");
    // Two frames stamped with the same time: the highest rate the clock tells, not "inf".
    EXPECT_EQ(common::app::frameRateTitle(0.0), " 1000000.00");
    EXPECT_EQ(common::app::frameRateTitle(-1e-9), " 1000000.00");
}
