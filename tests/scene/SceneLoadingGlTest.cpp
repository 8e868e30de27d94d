#include "scene/SceneController.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "scene/Light.h"
#include "scene/Mesh.h"
#include "terrain/HeightMap.h"
#include "terrain/Terrain.h"
#include "tests/support/SceneTest.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"

using common::gl::ShaderType;
using common::scene::Mesh;
using common::scene::SceneController;
using testsupport::SceneBuilder;

namespace {

glm::mat4 at(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

int countOccurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

class SceneLoading : public testsupport::SceneTest {
  protected:
    // Writes the scene and loads it into a fresh controller, capturing the console.
    bool load(const SceneBuilder& builder, const char* fileName = "scene.dae") {
        const auto path = dir.path() / fileName;
        EXPECT_TRUE(builder.write(path));
        testsupport::beginStdoutCapture();
        const bool loaded = controller.loadScene(path.string());
        console = testsupport::endStdoutCapture();
        return loaded;
    }

    // A builder whose mesh 0 is a triangle that a player at (0, 50, 0) carries.
    static SceneBuilder withPlayer() {
        SceneBuilder builder;
        builder.addNode("Player", at(0, 50, 0), {builder.addMesh(SceneBuilder::triangle())});
        return builder;
    }

    // A builder with a player and n rings along z, plus the disc template.
    static SceneBuilder courseWithRings(int count) {
        SceneBuilder builder;
        const unsigned mesh = builder.addMesh(SceneBuilder::triangle());
        builder.addNode("Player", at(50, 50, -20), {mesh});
        for (int i = 0; i < count; ++i) {
            builder.addNode("Circle." + std::to_string(i), at(50, 50, -30.0f - 10.0f * i), {mesh});
        }
        builder.addNode("Trans", glm::mat4(1.0f), {mesh});
        return builder;
    }

    testsupport::TempDir dir;
    SceneController controller;
    std::string console;
};

}  // namespace

// Roles by node name
TEST_F(SceneLoading, NodeNamesDecideTheRoles) {
    SceneBuilder builder;
    const unsigned mesh = builder.addMesh(SceneBuilder::box(glm::vec3(1), glm::vec3(2)));
    for (const char* name :
         {"Player", "player", "Playerx", "Circle.001", "xCirclex", "endCircle", "CircleFIN", "FINISH",
          "Skybox", "Skybox.001", "Water", "Terrain", "Transparent", "Other"}) {
        builder.addNode(name, at(10, 20, -30), {mesh});
    }
    ASSERT_TRUE(load(builder));

    EXPECT_EQ(controller.rings.size(), 4u);  // "CircleFIN" is an ordinary ring: "Circle" is tested first
    EXPECT_EQ(controller.finishRings.size(), 1u);
    EXPECT_EQ(controller.ringTransforms.size(), 5u);
    ASSERT_EQ(controller.environment.size(), 3u);
    EXPECT_EQ(controller.environment[0], controller.skybox);
    EXPECT_EQ(controller.environment[1], controller.water);
    EXPECT_EQ(controller.environment[2], controller.terrain);
    EXPECT_EQ(controller.skybox->shaderKey, ShaderType::TextureShader);
    EXPECT_EQ(controller.water->shaderKey, ShaderType::ShadowShader);
    EXPECT_EQ(controller.terrain->shaderKey, ShaderType::ShadowShader);
    // Player, four plain meshes ("player", "Playerx", "Skybox.001", "Other") and five rings.
    EXPECT_EQ(controller.objects.size(), 10u);
    ASSERT_NE(controller.player, nullptr);
    EXPECT_EQ(controller.objects.front(), controller.player);
    EXPECT_EQ(controller.player->shaderKey, ShaderType::LightShader);
    EXPECT_TRUE(controller.player->castsShadow);
    EXPECT_FALSE(controller.objects[1]->castsShadow);  // "player", a plain mesh
    EXPECT_TRUE(controller.objects[3]->castsShadow);   // "Circle.001"
    EXPECT_EQ(countOccurrences(console, "Unknown MESH TYPE loaded"), 4);
    EXPECT_EQ(console.find("Unknown MESH TYPE loaded\n"), std::string::npos);  // no line break
    EXPECT_TRUE(controller.transparentObjects.empty());                        // fewer than 25 rings
}

TEST_F(SceneLoading, TwoMeshesOnOneNodeMakeTwoObjectsAndTheRoleKeepsTheLast) {
    SceneBuilder builder = withPlayer();
    const unsigned second = builder.addMesh(SceneBuilder::box(glm::vec3(0), glm::vec3(1)));
    builder.addNode("Water", at(0, 0, 0), {0, second});
    ASSERT_TRUE(load(builder));
    ASSERT_EQ(controller.environment.size(), 2u);
    EXPECT_EQ(controller.water, controller.environment[1]);
    EXPECT_EQ(controller.water->getTriangleCount(), 12);
}

// Transparent discs
TEST_F(SceneLoading, TwentyFourRingsGetNoDiscs) {
    ASSERT_TRUE(load(courseWithRings(24)));
    EXPECT_EQ(controller.rings.size(), 24u);
    EXPECT_TRUE(controller.transparentObjects.empty());
}

TEST_F(SceneLoading, TwentyFiveRingsGetOneDiscEach) {
    ASSERT_TRUE(load(courseWithRings(25)));
    ASSERT_EQ(controller.transparentObjects.size(), 25u);
    const auto* disc = static_cast<const Mesh*>(controller.transparentObjects[3]);
    EXPECT_EQ(disc->shaderKey, ShaderType::TransparentShader);
    const glm::mat4 ring = controller.ringTransforms[3];
    EXPECT_EQ(disc->getModelMatrix()[0], ring[0] * 8.0f);
    EXPECT_EQ(disc->getModelMatrix()[1], glm::vec4(0.0f));
    EXPECT_EQ(disc->getModelMatrix()[2], ring[2] * 8.0f);
    EXPECT_EQ(disc->getModelMatrix()[3], ring[3]);
    EXPECT_EQ(disc->getPrevModelMatrix(), disc->getModelMatrix());
}

// Lights
TEST_F(SceneLoading, TheFilesLightReplacesThePlaceholder) {
    SceneBuilder builder = withPlayer();
    builder.addNode("Sun", glm::rotate(at(-100, 400, -200), 1.2f, glm::vec3(1, 0, 0)), {});
    builder.addLight("Sun");
    ASSERT_TRUE(load(builder));
    EXPECT_NEAR(glm::distance(controller.light->position, glm::vec3(-100, 400, -200)), 0.0f, 1e-3f);
    EXPECT_EQ(controller.light->fov, 40.0f);
    EXPECT_EQ(controller.light->nearClip, 100.0f);
    EXPECT_EQ(controller.light->farClip, 1000.0f);
    EXPECT_TRUE(controller.hasShadows());
}

TEST_F(SceneLoading, ALightWithoutItsNodeKeepsThePlaceholder) {
    SceneBuilder builder = withPlayer();
    builder.addLight("Lost");
    ASSERT_TRUE(load(builder, "scene.assbin"));  // COLLADA keeps only lights that a node carries
    EXPECT_NE(console.find("Could not find node for light Lost"), std::string::npos) << console;
    EXPECT_EQ(controller.light->position, glm::vec3(0, 0, 2000));
    EXPECT_EQ(controller.light->direction, glm::vec3(0));
    EXPECT_FALSE(controller.hasShadows());
}

TEST_F(SceneLoading, ASceneWithoutLightsKeepsThePlaceholder) {
    ASSERT_TRUE(load(courseWithRings(2)));
    EXPECT_EQ(controller.light->position, glm::vec3(0, 0, 2000));
    EXPECT_FALSE(controller.hasShadows());
    controller.update(1.0 / 60.0);  // no usable light: the frame goes on without shadows
    EXPECT_FALSE(std::isnan(controller.camera->cascadeMatrices[0][0][0]));
}

// Scenes the game cannot run
TEST_F(SceneLoading, AnUnreadableFileIsReportedAndRefused) {
    const std::string path = dir.write("broken.dae", "not a model").string();
    testsupport::beginStdoutCapture();
    EXPECT_FALSE(controller.loadScene(path));
    const std::string out = testsupport::endStdoutCapture();
    EXPECT_NE(out.find("Error parsing '" + path + "': '"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("Debug: Load Scene" + path + "\n", 0), 0u) << out;
}

TEST_F(SceneLoading, ASceneWithoutAPlayerIsRefused) {
    SceneBuilder builder;
    builder.addNode("Terrain", glm::mat4(1.0f), {builder.addMesh(SceneBuilder::triangle())});
    EXPECT_FALSE(load(builder));
}

// The shipped scene
TEST_F(SceneLoading, TheGeneratedGameSceneHasEveryRole) {
    testsupport::beginStdoutCapture();
    const bool loaded = controller.loadScene(SceneController::kScenePath);
    console = testsupport::endStdoutCapture();
    ASSERT_TRUE(loaded) << console;
    EXPECT_NE(controller.terrain, nullptr);
    EXPECT_NE(controller.water, nullptr);
    EXPECT_NE(controller.skybox, nullptr);
    EXPECT_GE(controller.rings.size(), 24u);
    EXPECT_GE(controller.finishRings.size(), 1u);
    EXPECT_EQ(controller.transparentObjects.size(), controller.ringTransforms.size());
    EXPECT_TRUE(controller.hasShadows());
    EXPECT_EQ(console.find("Unknown MESH TYPE"), std::string::npos) << console;
    EXPECT_EQ(console.find("Could not find node"), std::string::npos) << console;
    // The craft starts above the ground.
    const glm::vec3 start = controller.player->position;
    EXPECT_GT(controller.heightMap->altitude(start.x, start.y, start.z), 15.0f);
}
