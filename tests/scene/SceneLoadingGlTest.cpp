// What the scene controller builds from a scene file; which node gets which role is the layout's
// rule, tested without a display.
#include "scene/SceneController.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/CameraPersp.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/Texture.h"
#include "scene/Light.h"
#include "scene/Mesh.h"
#include "terrain/HeightMap.h"
#include "terrain/Terrain.h"
#include "tests/support/SceneTest.h"

using common::gl::ShaderType;
using common::scene::Mesh;
using common::scene::SceneController;
using testsupport::SceneBuilder;

namespace {

class SceneLoading : public testsupport::SceneTest {
  protected:
    SceneController controller;
};

}  // namespace

// Each role's list, program and shadow; a node's two meshes make two objects, the role the last. Scenes
// the game cannot run, unreadable or without a craft, are refused.
TEST_F(SceneLoading, EachRoleGoesToItsListWithItsProgramAndScenesWithoutACraftAreRefused) {
    SceneBuilder builder;
    const unsigned mesh = builder.addMesh(SceneBuilder::box(glm::vec3(1), glm::vec3(2)));
    const unsigned triangle = builder.addMesh(SceneBuilder::triangle());
    for (const char* name : {"Player", "Rock", "Circle.001", "FIN", "Skybox", "Other"}) {
        builder.addNode(name, at(10, 20, -30), {mesh});
    }
    builder.addNode("Terrain", glm::mat4(1.0f), {mesh});
    builder.addNode("Water", glm::mat4(1.0f), {mesh, triangle});
    ASSERT_TRUE(load(controller, builder));

    EXPECT_EQ(controller.rings.size(), 1u);
    EXPECT_EQ(controller.finishRings.size(), 1u);
    EXPECT_EQ(controller.ringTransforms.size(), 2u);
    ASSERT_EQ(controller.environment.size(), 4u);
    EXPECT_EQ(controller.environment[0], controller.skybox);
    EXPECT_EQ(controller.environment[1], controller.terrain);
    EXPECT_EQ(controller.environment[3], controller.water);
    EXPECT_EQ(controller.water->getTriangleCount(), 1);
    EXPECT_EQ(controller.skybox->shaderKey, ShaderType::TextureShader);
    EXPECT_EQ(controller.water->shaderKey, ShaderType::ShadowShader);
    EXPECT_EQ(controller.terrain->shaderKey, ShaderType::ShadowShader);
    // Player, "Rock", two rings and "Other"; the player and the rings cast shadows, plain meshes not.
    ASSERT_EQ(controller.objects.size(), 5u);
    EXPECT_EQ(controller.objects.front(), controller.player);
    EXPECT_EQ(controller.player->shaderKey, ShaderType::LightShader);
    const bool casts[] = {true, false, true, true, false};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(controller.objects[i]->castsShadow, casts[i]) << i;
    }
    EXPECT_EQ(controller.playerStartPosition, glm::vec3(10, 20, -30));
    // Each a console line of its own.
    EXPECT_EQ(testsupport::occurrences(console, "Unknown MESH TYPE loaded\n"), 2);

    SceneController refusing;
    const std::string path = dir.write("broken.dae", "not a model").string();
    const std::string out = testsupport::capturedStdout([&] { EXPECT_FALSE(refusing.loadScene(path)); });
    EXPECT_EQ(out.rfind("Debug: Load Scene" + path + "\nError parsing '" + path + "': '", 0), 0u) << out;
    SceneBuilder withoutCraft;
    withoutCraft.addNode("Terrain", glm::mat4(1.0f), {withoutCraft.addMesh(SceneBuilder::triangle())});
    EXPECT_FALSE(load(refusing, withoutCraft, "terrain.dae"));
}

// A disc per ring from 25 rings on: the template flattened along the ring's axis, 8 times wider. The
// file's light replaces the placeholder at (0, 0, 2000); a light no node carries leaves it, and without
// a usable light the frame goes on without shadows.
TEST_F(SceneLoading, TwentyFiveRingsGetOneDiscEachAndTheFilesLightReplacesThePlaceholder) {
    ASSERT_TRUE(load(controller, course(24)));
    EXPECT_TRUE(controller.transparentObjects.empty());
    SceneController other;
    ASSERT_TRUE(load(other, course(25), "25.dae"));
    ASSERT_EQ(other.transparentObjects.size(), 25u);
    const auto* disc = static_cast<const Mesh*>(other.transparentObjects[3]);
    EXPECT_EQ(disc->shaderKey, ShaderType::TransparentShader);
    const glm::mat4 ring = other.ringTransforms[3];
    EXPECT_EQ(disc->getModelMatrix(), glm::mat4(ring[0] * 8.0f, glm::vec4(0.0f), ring[2] * 8.0f, ring[3]));
    EXPECT_EQ(disc->getPrevModelMatrix(), disc->getModelMatrix());

    SceneController lit;
    SceneBuilder builder = course(1);
    builder.addNode("Sun", glm::rotate(at(-100, 400, -200), 1.2f, glm::vec3(1, 0, 0)), {});
    builder.addLight("Sun");
    ASSERT_TRUE(load(lit, builder, "lit.dae"));
    EXPECT_NEAR(glm::distance(lit.light->position, glm::vec3(-100, 400, -200)), 0.0f, 1e-3f);
    EXPECT_EQ(glm::vec3(lit.light->fov, lit.light->nearClip, lit.light->farClip),
              glm::vec3(40.0f, 100.0f, 1000.0f));
    EXPECT_TRUE(lit.hasShadows());

    SceneController lost;
    SceneBuilder withoutNode = course(1);
    withoutNode.addLight("Lost");
    ASSERT_TRUE(load(lost, withoutNode, "lost.assbin"));  // COLLADA keeps only carried lights
    EXPECT_NE(console.find("Could not find node for light Lost\n"), std::string::npos);
    EXPECT_EQ(lost.light->position, glm::vec3(0, 0, 2000));
    EXPECT_FALSE(lost.hasShadows());
    lost.update(1.0 / 60.0);
    EXPECT_FALSE(std::isnan(lost.camera->cascadeMatrices[0][0][0]));
}

TEST_F(SceneLoading, TheGeneratedGameSceneHasEveryRole) {
    bool loaded = false;
    console =
        testsupport::capturedStdout([&] { loaded = controller.loadScene(SceneController::kScenePath); });
    ASSERT_TRUE(loaded) << console;
    // Each wears its picture (the landscape's, the craft's); the discs' and ring parts' are counted below.
    for (const Mesh* mesh : std::initializer_list<const Mesh*>{controller.terrain, controller.water,
                                                               controller.skybox, controller.player}) {
        ASSERT_NE(mesh, nullptr);
        EXPECT_NE(mesh->texture, nullptr);
    }
    EXPECT_GE(controller.rings.size(), 24u);
    EXPECT_EQ(controller.finishRings.size(), 1u);
    EXPECT_EQ(controller.transparentObjects.size(), controller.ringTransforms.size());
    EXPECT_TRUE(controller.hasShadows());
    EXPECT_EQ(console.find("Unknown MESH TYPE"), std::string::npos) << console;
    EXPECT_EQ(console.find("Could not find node"), std::string::npos) << console;
    // The craft starts above the ground.
    const glm::vec3 start = controller.player->position;
    EXPECT_GT(controller.heightMap->altitude(start.x, start.y, start.z), 15.0f);

    // One GL texture per image file: every ring part and every disc shares its file's.
    std::set<GLuint> textures;
    std::size_t users = 0;
    auto note = [&](const Mesh& mesh) {
        if (mesh.texture) {
            textures.insert(mesh.texture->id);
            ++users;
        }
    };
    for (const auto* list : {&controller.environment, &controller.objects, &controller.transparentObjects}) {
        for (const common::scene::SceneObject* object : *list) {
            if (const auto* ring = dynamic_cast<const common::scene::CircleCheckpoint*>(object)) {
                for (std::size_t i = 0; i < ring->partCount(); ++i) {
                    note(ring->part(i));
                }
            } else if (const auto* mesh = dynamic_cast<const Mesh*>(object)) {
                note(*mesh);
            }
        }
    }
    EXPECT_GT(users, 200u);
    EXPECT_EQ(textures.size(), controller.textureCache().size());
    EXPECT_LE(textures.size(), 6u);
}
