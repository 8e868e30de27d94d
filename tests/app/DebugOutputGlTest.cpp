// What the game prints: the logger's console lines and the driver's debug messages (and which interface
// delivers them), from the enumerants' names to a real error reported by a real context.
#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include <GL/glew.h>

#include "app/Logger.h"
#include "tests/support/GlContext.h"
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

class DebugOutputGl : public testsupport::GlTest {};

TEST_F(DebugOutputGl, ARealErrorIsReportedOnStandardOutput) {
    ASSERT_TRUE(common::app::debug_output::install());
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);  // so the message arrives before the capture ends
    testsupport::beginStdoutCapture();
    glBindTexture(GL_TEXTURE_2D, 123456);  // a name that was never generated: invalid in a core profile
    const std::string out = testsupport::endStdoutCapture();
    glDisable(GL_DEBUG_OUTPUT);
    EXPECT_EQ(out.rfind("OpenGL Error: ", 0), 0u) << out;
    EXPECT_NE(out.find("[Source = API, Type = Error, Severity = High, ID = "), std::string::npos) << out;
    EXPECT_EQ(out.back(), ']');
}
