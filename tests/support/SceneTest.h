#pragma once

#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "scene/SceneController.h"
#include "tests/support/GlContext.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"

namespace testsupport {

// Base fixture for tests that build scene controllers of their own. Meshes draw with the camera of
// the game's one scene, so that scene (and the shader registry) is made first rather than half-way
// through a test's draw, where making it would change GL state under the test.
class SceneTest : public GlTest {
  protected:
    SceneTest() { common::scene::SceneController::instance(); }

    static glm::mat4 at(float x, float y, float z) {
        return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
    }

    // A player at (50, 50, -20), `rings` rings ahead of it along -z, and the disc template.
    static SceneBuilder course(int rings) {
        SceneBuilder builder;
        const unsigned mesh = builder.addMesh(SceneBuilder::triangle());
        builder.addNode("Player", at(50, 50, -20), {mesh});
        for (int i = 0; i < rings; ++i) {
            builder.addNode("Circle." + std::to_string(i), at(50, 50, -30.0f - 10.0f * i), {mesh});
        }
        builder.addNode("Trans", glm::mat4(1.0f), {mesh});
        return builder;
    }

    // Writes the scene as `fileName` in `dir` and loads it into `controller`; the console goes to `console`.
    bool load(common::scene::SceneController& controller, const SceneBuilder& builder,
              const std::string& fileName = "scene.dae") {
        const std::string path = (dir.path() / fileName).string();
        EXPECT_TRUE(builder.write(path));
        bool loaded = false;
        console = capturedStdout([&] { loaded = controller.loadScene(path); });
        return loaded;
    }

    TempDir dir;
    std::string console;
};

}  // namespace testsupport
