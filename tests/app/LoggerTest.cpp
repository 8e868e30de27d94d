#include "app/Logger.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

using common::app::Logger;

TEST(Logger, DebugLinesHaveThePrefixAndALineBreak) {
    testsupport::beginStdoutCapture();
    Logger::instance().debug(" Blur on");
    Logger::instance().debug("Renderer created");
    EXPECT_EQ(testsupport::endStdoutCapture(), "Debug:  Blur on\nDebug: Renderer created\n");
}

TEST(Logger, PercentSignsArePrintedAsTheyStand) {
    testsupport::beginStdoutCapture();
    Logger::instance().debug("100% %s %d");
    EXPECT_EQ(testsupport::endStdoutCapture(), "Debug: 100% %s %d\n");
}

TEST(Logger, WarningsGoToStandardErrorAsTheyStand) {
    testsupport::beginStdoutCapture();
    ::testing::internal::CaptureStderr();
    Logger::instance().warning("No audio device: 100% %s");
    std::fflush(stderr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "No audio device: 100% %s\n");
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
}
