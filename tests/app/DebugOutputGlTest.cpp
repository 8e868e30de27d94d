#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

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
