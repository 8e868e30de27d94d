#pragma once

#include <gtest/gtest.h>

namespace testsupport {

// Makes a hidden OpenGL 3.3 core window current on the (virtual) display and keeps it for the whole
// test process, so singletons that cache GL objects stay valid from one test to the next.
// Fails the calling test when no context can be made (for example without DISPLAY).
void ensureGlContext();

// Base fixture for tests that need a current GL context. The context is made in the constructor, so
// members of a derived fixture that create GL objects are built with a context current.
class GlTest : public ::testing::Test {
  protected:
    GlTest() { ensureGlContext(); }
    void SetUp() override;
};

}  // namespace testsupport
