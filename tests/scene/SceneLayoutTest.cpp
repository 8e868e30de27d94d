#include "scene/SceneLayout.h"

#include <gtest/gtest.h>

#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/support/SceneBuilder.h"

using common::scene::NodeRole;
using common::scene::SceneLayout;
using testsupport::SceneBuilder;

namespace {

glm::mat4 at(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

SceneLayout read(const SceneBuilder& builder) {
    return SceneLayout::read(*builder.build(), "../meshes/scene.dae");
}

}  // namespace

TEST(SceneLayout, NodeNamesDecideTheRolesInOrder) {
    const struct {
        const char* name;
        NodeRole role;
    } cases[] = {
        {"Player", NodeRole::Player},
        {"player", NodeRole::Plain},
        {"Playerx", NodeRole::Plain},
        {"Circle.001", NodeRole::Ring},
        {"xCirclex", NodeRole::Ring},
        {"endCircle", NodeRole::Ring},
        {"CircleFIN", NodeRole::Ring},
        {"FINISH", NodeRole::FinishRing},
        {"aFIN", NodeRole::FinishRing},
        {"Skybox", NodeRole::Skybox},
        {"Skybox.001", NodeRole::Plain},
        {"Water", NodeRole::Water},
        {"Terrain", NodeRole::Terrain},
        {"Transparent", NodeRole::DiscTemplate},
        {"FINTrans", NodeRole::FinishRing},
        {"Other", NodeRole::Plain},
        {"", NodeRole::Plain},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SceneLayout::roleOf(c.name), c.role) << '"' << c.name << '"';
    }
}

// Depth first, a node's meshes before its children; each mesh on its own; a node's own
// transformation only; rings without geometry; the last disc template kept. A ring model's parts:
// "part0", "part1", ... in that order; a part out of order is skipped.
TEST(SceneLayout, MeshesComeInFileOrderPlacedByTheirOwnNodeAndRingPartsInNumberOrder) {
    SceneBuilder builder;
    const unsigned triangle = builder.addMesh(SceneBuilder::triangle());
    const unsigned box = builder.addMesh(SceneBuilder::box(glm::vec3(0), glm::vec3(1)));
    builder.addNode("Player", at(0, 50, 0), {triangle});
    builder.addNode("Group", at(1000, 0, 0), {box, triangle});
    builder.addNode("Circle", at(5, 6, -7), {triangle}, "Group");
    builder.addNode("Trans", glm::mat4(1.0f), {triangle});
    builder.addNode("Trans.001", glm::mat4(1.0f), {box});
    builder.addNode("FIN", at(1, 2, 3), {box});
    const SceneLayout layout = read(builder);

    ASSERT_EQ(layout.meshes.size(), 5u);
    const NodeRole roles[] = {NodeRole::Player, NodeRole::Plain, NodeRole::Plain, NodeRole::Ring,
                              NodeRole::FinishRing};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(layout.meshes[i].role, roles[i]) << i;
    }
    EXPECT_EQ(layout.meshes[1].geometry.triangleCount(), 12u);
    EXPECT_EQ(layout.meshes[2].geometry.triangleCount(), 1u);
    EXPECT_EQ(layout.meshes[3].transform, at(5, 6, -7));
    EXPECT_TRUE(layout.meshes[3].geometry.positions.empty());
    ASSERT_EQ(layout.ringTransforms.size(), 2u);
    EXPECT_EQ(layout.ringTransforms[0], at(5, 6, -7));
    EXPECT_EQ(layout.ringTransforms[1], at(1, 2, 3));
    ASSERT_TRUE(layout.discTemplate);
    EXPECT_EQ(layout.discTemplate->geometry.triangleCount(), 12u);

    // A player's course over the same landscape: the file's rings go, the craft starts at the
    // course's start, the course's rings come last in course order.
    SceneLayout replaced = layout;
    replaced.replaceCourse({at(9, 9, 9), {{at(1, 1, 1), false}, {at(2, 2, 2), true}}});
    ASSERT_EQ(replaced.meshes.size(), 5u);
    EXPECT_EQ(replaced.meshes[0].transform, at(9, 9, 9));
    EXPECT_EQ(replaced.meshes[2].role, NodeRole::Plain);
    EXPECT_EQ(replaced.meshes[3].role, NodeRole::Ring);
    EXPECT_EQ(replaced.meshes[4].role, NodeRole::FinishRing);
    EXPECT_EQ(replaced.ringTransforms, (std::vector<glm::mat4>{at(1, 1, 1), at(2, 2, 2)}));

    SceneBuilder ringModel;
    const unsigned part = ringModel.addMesh(SceneBuilder::triangle());
    for (const char* name : {"part1", "part0", "part2", "extra", "part1"}) {
        ringModel.addNode(name, at(0, 0, 1), {part});
    }
    const auto parts = SceneLayout::readRingParts(*ringModel.build(), "Circle.dae");
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1].transform, at(0, 0, 1));
    EXPECT_EQ(parts[1].geometry.triangleCount(), 1u);
}

TEST(SceneLayout, ALightIsPlacedByTheNodeOfTheSameName) {
    SceneBuilder builder;
    // The node turns -z (the light's direction in its own frame) to point down and along +x.
    const glm::mat4 sun = glm::rotate(at(-100, 400, -200), -1.0f, glm::vec3(0, 0, 1)) *
                          glm::rotate(glm::mat4(1.0f), 1.2f, glm::vec3(1, 0, 0));
    builder.addNode("Sun", sun, {});
    builder.addLight("Lost");
    builder.addLight("Sun");
    const SceneLayout layout = read(builder);
    ASSERT_EQ(layout.lights.size(), 1u);
    EXPECT_NEAR(glm::distance(layout.lights[0].position, glm::vec3(-100, 400, -200)), 0.0f, 1e-3f);
    // (0, 0, -1) turned by 1.2 about x, then by -1 about z.
    EXPECT_NEAR(glm::distance(layout.lights[0].direction, glm::vec3(0.7842f, 0.5036f, -0.3624f)), 0.0f,
                1e-3f);
    EXPECT_EQ(layout.lights[0].diffuse, glm::vec3(1.0f));
    EXPECT_EQ(layout.lightsWithoutNode, std::vector<std::string>{"Lost"});
}
