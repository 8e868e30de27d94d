#include "app/FrameTime.h"

#include <gtest/gtest.h>

using common::app::clampFrameTime;
using common::app::frameRateTitle;
using common::app::kMaxFrameTime;

TEST(FrameTime, TheClampIsTheFloatValueWidened) {
    EXPECT_EQ(kMaxFrameTime, 0.039999999105930328);
    EXPECT_EQ(clampFrameTime(0.1), kMaxFrameTime);
    EXPECT_EQ(clampFrameTime(12.0), kMaxFrameTime);  // the first frame includes all loading
    EXPECT_EQ(clampFrameTime(0.04), kMaxFrameTime);  // the double 0.04 is just above the bound
    EXPECT_EQ(clampFrameTime(0.016), 0.016);
    EXPECT_EQ(clampFrameTime(kMaxFrameTime), kMaxFrameTime);
}

TEST(FrameTime, TitleShowsTheFrameRateWithALeadingBlank) {
    EXPECT_EQ(frameRateTitle(0.016), " 62.50");
    EXPECT_EQ(frameRateTitle(clampFrameTime(0.1)), " 25.00");
    EXPECT_EQ(frameRateTitle(0.001), " 1000.00");
    // Two frames stamped with the same time: the highest rate the clock tells, not "inf".
    EXPECT_EQ(frameRateTitle(0.0), " 1000000.00");
    EXPECT_EQ(frameRateTitle(-1e-9), " 1000000.00");
}
