#include "game/CircleCheckpoint.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "game/Player.h"
#include "tests/support/GlContext.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/UnitGlmNear.h"

using namespace common::scene;
using testsupport::SceneBuilder;

namespace {

using RingTest = testsupport::GlTest;

// An upright ring (axis along world z, like a gate facing a craft flying along z) at `centre`.
std::unique_ptr<CircleCheckpoint> uprightRing(const glm::vec3& centre, float scale = 1.0f) {
    auto ring = std::make_unique<CircleCheckpoint>();
    glm::mat4 transform = glm::translate(glm::mat4(1.0f), centre);
    transform = glm::rotate(transform, glm::radians(90.0f), glm::vec3(1, 0, 0));
    transform = glm::scale(transform, glm::vec3(scale));
    ring->setModelMatrix(transform);
    ring->reset();
    ring->updateWorldBox();
    return ring;
}

std::unique_ptr<Player> playerAt(const glm::vec3& position) {
    auto player = std::make_unique<Player>();
    player->position = position;
    player->previousPosition = position;
    return player;
}

}  // namespace

// Loading the parts. Which parts a ring model gives, and in which order, the scene layout tests check. An
// incomplete model is reported; an unreadable one leaves a ring without parts, which draws nothing: the
// damaged-resource tests check that in the game, but the sanitizer run skips them. Either way the ring
// keeps the fixed box, so culling and the capture test have one.
TEST_F(RingTest, TheGeneratedModelGivesEightPartsAndAnyOtherIsReportedWithTheFixedBox) {
    CircleCheckpoint ring;
    ASSERT_EQ(ring.partCount(), 8u);
    ASSERT_NE(ring.getLocalBox(), nullptr);
    EXPECT_EQ(ring.getLocalBox()->min, glm::vec3(-9.0f));
    EXPECT_EQ(ring.getLocalBox()->max, glm::vec3(9.0f));
    int triangles = 0;
    for (std::size_t i = 0; i < ring.partCount(); ++i) {
        triangles += ring.part(i).getTriangleCount();
    }
    EXPECT_EQ(ring.getTriangleCount(), triangles);
    EXPECT_GT(triangles, 0);

    testsupport::TempDir dir;
    SceneBuilder builder;
    builder.addNode("part0", glm::mat4(1.0f), {builder.addMesh(SceneBuilder::triangle())});
    ASSERT_TRUE(builder.write(dir.path() / "ring.dae"));
    testsupport::beginStdoutCapture();
    CircleCheckpoint incomplete((dir.path() / "ring.dae").string());
    const std::string out = testsupport::endStdoutCapture();
    EXPECT_EQ(incomplete.partCount(), 1u);
    EXPECT_NE(out.find("has 1 of its 8 parts"), std::string::npos) << out;
    ASSERT_NE(incomplete.getLocalBox(), nullptr);
    EXPECT_EQ(incomplete.getLocalBox()->max, glm::vec3(9.0f));

    const std::string path = dir.write("Circle.dae", "<not collada").string();
    testsupport::beginStdoutCapture();
    CircleCheckpoint unreadable(path);
    const std::string error = testsupport::endStdoutCapture();
    EXPECT_EQ(unreadable.partCount(), 0u);
    EXPECT_EQ(error.rfind("Error parsing '" + path + "': '", 0), 0u) << error;
    unreadable.draw();  // draws nothing, and does not fail
}

// The capture rule itself is tested on its own; a ring asks it with the craft's step, its own box and
// the radius of its kind, and its capture plane stays put while the ring spins. Spin: the ring turns
// 25 degrees a second about its own y axis (its world box stays), each part 200 degrees a second about
// its own -x axis.
TEST_F(RingTest, CaptureUsesTheRingsBoxAndTheRadiusOfItsKindWhileTheRingAndItsPartsSpin) {
    auto ring = uprightRing(glm::vec3(10, 20, -30));
    EXPECT_FALSE(ring->collides(*playerAt(glm::vec3(15, 20, -30.1f)), false));
    EXPECT_TRUE(ring->collides(*playerAt(glm::vec3(15, 20, -30.1f)), true));
    const auto leaping = playerAt(glm::vec3(10, 20, -30.4f));
    leaping->previousPosition = glm::vec3(10, 20, -29.6f);  // neither end of the step in the slab
    EXPECT_TRUE(ring->collides(*leaping, false));
    auto small = uprightRing(glm::vec3(10, 20, -30), 0.25f);
    EXPECT_FALSE(small->collides(*playerAt(glm::vec3(10, 22.3f, -30)), true));
    const auto throughTheMiddle = playerAt(glm::vec3(10.5f, 20.5f, -30.05f));
    for (int frame = 0; frame < 200; ++frame) {
        small->update(1.0 / 60.0);
        ASSERT_TRUE(small->collides(*throughTheMiddle, false)) << "frame " << frame;
    }

    ASSERT_EQ(ring->partCount(), 8u);
    const glm::vec3 boxMin = ring->getWorldBox()->min;
    const glm::mat4 before = ring->getModelMatrix();
    const glm::mat4 partBefore = ring->part(3).getModelMatrix();
    ring->update(0.5);
    EXPECT_EQ(ring->getPrevModelMatrix(), before);
    testsupport::expectNear(ring->getModelMatrix(),
                            glm::rotate(before, glm::radians(12.5f), glm::vec3(0, 1, 0)));
    EXPECT_EQ(ring->getWorldBox()->min, boxMin);
    EXPECT_EQ(ring->part(3).getPrevModelMatrix(), partBefore);
    testsupport::expectNear(ring->part(3).getModelMatrix(),
                            glm::rotate(partBefore, glm::radians(100.0f), glm::vec3(-1, 0, 0)));
}
