// What the game prints: the logger's console lines, the driver's debug messages (and which interface
// delivers them), and the frame rate in the window title (with the clamp of the frame time).
#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "app/FrameTime.h"
#include "app/Logger.h"
#include "tests/support/TestFiles.h"

namespace debug_output = common::app::debug_output;
using debug_output::Api;

// Runs of consecutive enumerants and their names: the core (and ARB) sources, types and severities,
// then AMD's categories, which serve as both source and type (API error, window system, deprecation,
// undefined behaviour, performance, shader compiler, application, other).
// Messages carry every field in order; the driver's text is data, not a format. Logger lines carry a
// prefix and a line break each; percent signs are printed as they stand.
TEST(DebugOutput, EveryEnumerantHasItsTextMessagesCarryEveryFieldAndLoggerLinesThePrefixAndALineBreak) {
    const auto source = debug_output::sourceName;
    const auto type = debug_output::typeName;
    const auto severity = debug_output::severityName;
    const std::tuple<const char* (*)(unsigned), unsigned, std::vector<const char*>> runs[] = {
        {source, 0x8246, {"API", "Window System", "Shader Compiler", "Third Party", "Application", "Other"}},
        {type,
         0x824C,
         {"Error", "Deprecated Behavior", "Undefined Behavior", "Portability", "Performance", "Other"}},
        {severity, 0x9146, {"High", "Medium", "Low"}},
        {severity, 0x826B, {"Unknown"}},  // notifications
        {source,
         0x9149,
         {"API", "Window System", "Unknown", "Unknown", "Unknown", "Shader Compiler", "Application",
          "Other"}},
        {type,
         0x9149,
         {"Unknown", "Unknown", "Deprecated Behavior", "Undefined Behavior", "Performance", "Unknown",
          "Unknown", "Other"}},
        {source, 0, {"Unknown"}},
        {type, 0xFFFFFFFFu, {"Unknown"}},
    };
    for (const auto& [name, first, names] : runs) {
        for (unsigned i = 0; i < names.size(); ++i) {
            EXPECT_STREQ(name(first + i), names[i]) << std::hex << first + i;
        }
    }
    EXPECT_EQ(debug_output::format(0x8246, 0x824C, 1282, 0x9146, "GL_INVALID_OPERATION in glDrawElements"),
              "OpenGL Error: GL_INVALID_OPERATION in glDrawElements [Source = API, Type = Error, "
              "Severity = High, ID = 1282]");
    EXPECT_EQ(debug_output::format(1, 0x914B, 4294967295u, 3, "x"),
              "OpenGL Error: x [Source = Unknown, Type = Deprecated Behavior, Severity = Unknown, ID = "
              "4294967295]");
    EXPECT_EQ(debug_output::format(0x824A, 0x8251, 0, 0x9148, "50% of %s done\n"),
              "OpenGL Error: 50% of %s done\n [Source = Application, Type = Other, Severity = Low, ID = 0]");

    testsupport::beginStdoutCapture();
    ::testing::internal::CaptureStderr();
    common::app::Logger::instance().debug(" Blur on");
    common::app::Logger::instance().debug("100% %s %d");
    common::app::Logger::instance().warning("No audio device: 100% %s");
    std::fflush(stderr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "No audio device: 100% %s\n");
    EXPECT_EQ(testsupport::endStdoutCapture(), "Debug:  Blur on\nDebug: 100% %s %d\n");
}

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

// The interface comes from what the context reports, never from which names resolve.
TEST(DebugOutputChoice, TheContextsVersionAndExtensionsDecide) {
    const struct {
        int major;
        int minor;
        std::vector<std::string> extensions;
        Api api;
    } cases[] = {
        {4, 3, {}, Api::Core},
        {4, 6, {"GL_ARB_debug_output"}, Api::Core},
        {3, 3, {"GL_ARB_sync", "GL_KHR_debug"}, Api::Core},
        {3, 3, {"GL_ARB_debug_output", "GL_AMD_debug_output"}, Api::Arb},
        {4, 2, {"GL_AMD_debug_output"}, Api::Amd},
        {3, 3, {"GL_KHR_debug_output", "GL_ARB_debug"}, Api::None},
        {3, 3, {}, Api::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(debug_output::chooseApi(c.major, c.minor, c.extensions), c.api)
            << c.major << "." << c.minor << " with " << c.extensions.size() << " extensions";
    }
}
