#pragma once

#include "scene/SceneController.h"
#include "tests/support/GlContext.h"

namespace testsupport {

// Base fixture for tests that build scene controllers of their own. Meshes draw with the camera of
// the game's one scene, so that scene (and the shader registry) is made first rather than half-way
// through a test's draw, where making it would change GL state under the test.
class SceneTest : public GlTest {
  protected:
    SceneTest() { common::scene::SceneController::instance(); }
};

}  // namespace testsupport
