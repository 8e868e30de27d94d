#include "app/DebugOutput.h"

#include <gtest/gtest.h>

namespace debug_output = common::app::debug_output;

// Core and ARB enumerants
TEST(DebugOutput, CoreErrorMessageHasEveryFieldInOrder) {
    EXPECT_EQ(debug_output::format(0x8246, 0x824C, 1282, 0x9146, "GL_INVALID_OPERATION in glDrawElements"),
              "OpenGL Error: GL_INVALID_OPERATION in glDrawElements [Source = API, Type = Error, "
              "Severity = High, ID = 1282]");
}

TEST(DebugOutput, EverySourceTypeAndSeverityHasItsText) {
    EXPECT_STREQ(debug_output::sourceName(0x8247), "Window System");
    EXPECT_STREQ(debug_output::sourceName(0x8248), "Shader Compiler");
    EXPECT_STREQ(debug_output::sourceName(0x8249), "Third Party");
    EXPECT_STREQ(debug_output::sourceName(0x824A), "Application");
    EXPECT_STREQ(debug_output::sourceName(0x824B), "Other");
    EXPECT_STREQ(debug_output::typeName(0x824D), "Deprecated Behavior");
    EXPECT_STREQ(debug_output::typeName(0x824E), "Undefined Behavior");
    EXPECT_STREQ(debug_output::typeName(0x824F), "Portability");
    EXPECT_STREQ(debug_output::typeName(0x8250), "Performance");
    EXPECT_STREQ(debug_output::typeName(0x8251), "Other");
    EXPECT_STREQ(debug_output::severityName(0x9147), "Medium");
    EXPECT_STREQ(debug_output::severityName(0x9148), "Low");
}

TEST(DebugOutput, NotificationSeverityAndUnknownValuesAreUnknown) {
    EXPECT_STREQ(debug_output::severityName(0x826B), "Unknown");
    EXPECT_STREQ(debug_output::sourceName(0), "Unknown");
    EXPECT_STREQ(debug_output::typeName(0xFFFFFFFFu), "Unknown");
    EXPECT_EQ(debug_output::format(1, 2, 4294967295u, 3, "x"),
              "OpenGL Error: x [Source = Unknown, Type = Unknown, Severity = Unknown, ID = 4294967295]");
}

// AMD categories serve as both source and type
TEST(DebugOutput, AmdApiErrorIsAnApiSourceOfUnknownType) {
    EXPECT_EQ(debug_output::format(0x9149, 0x9149, 7, 0x9146, "m"),
              "OpenGL Error: m [Source = API, Type = Unknown, Severity = High, ID = 7]");
}

TEST(DebugOutput, AmdDeprecationIsAnUnknownSourceOfDeprecatedType) {
    EXPECT_EQ(debug_output::format(0x914B, 0x914B, 8, 0x9148, "m"),
              "OpenGL Error: m [Source = Unknown, Type = Deprecated Behavior, Severity = Low, ID = 8]");
}

TEST(DebugOutput, AmdCategoriesMapToTheirNames) {
    EXPECT_STREQ(debug_output::sourceName(0x914A), "Window System");
    EXPECT_STREQ(debug_output::sourceName(0x914E), "Shader Compiler");
    EXPECT_STREQ(debug_output::sourceName(0x914F), "Application");
    EXPECT_STREQ(debug_output::sourceName(0x9150), "Other");
    EXPECT_STREQ(debug_output::typeName(0x914C), "Undefined Behavior");
    EXPECT_STREQ(debug_output::typeName(0x914D), "Performance");
    EXPECT_STREQ(debug_output::typeName(0x9150), "Other");
}

// The driver's text is data, not a format
TEST(DebugOutput, PercentSignsAndLineBreaksArePrintedUnchanged) {
    EXPECT_EQ(debug_output::format(0x824A, 0x8251, 0, 0x9148, "50% of %s done\n"),
              "OpenGL Error: 50% of %s done\n [Source = Application, Type = Other, Severity = Low, ID = 0]");
}
