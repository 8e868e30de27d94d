#include "scene/SceneController.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "game/Player.h"
#include "tests/support/SceneTest.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"

using common::scene::SceneController;
using testsupport::SceneBuilder;

namespace {

glm::mat4 at(const glm::vec3& position) {
    return glm::translate(glm::mat4(1.0f), position);
}

const glm::vec3 kStart(100, 80, -100);
const glm::vec3 kGate(100, 80, -150);    // two ordinary rings in the same place
const glm::vec3 kFinish(100, 80, -250);  // a ring and a finish ring in the same place
const glm::vec3 kLoneRing(100, 80, -350);

// A course laid out for the rules: rings lie flat (axis along world y), so a craft at a ring's centre
// is in its plane.
class GameRules : public testsupport::SceneTest {
  protected:
    void SetUp() override {
        testsupport::SceneTest::SetUp();
        SceneBuilder builder;
        const unsigned mesh = builder.addMesh(SceneBuilder::triangle());
        builder.addNode("Player", at(kStart), {mesh});
        builder.addNode("Circle.a", at(kGate), {mesh});
        builder.addNode("Circle.b", at(kGate), {mesh});
        builder.addNode("Circle.c", at(kFinish), {mesh});
        builder.addNode("Circle.d", at(kLoneRing), {mesh});
        builder.addNode("FIN", at(kFinish), {mesh});
        ASSERT_TRUE(builder.write(dir.path() / "rules.dae"));
        testsupport::beginStdoutCapture();
        ASSERT_TRUE(controller.loadScene((dir.path() / "rules.dae").string()));
        testsupport::endStdoutCapture();
    }

    void flyTo(const glm::vec3& position) {
        controller.player->position = position;
        controller.checkCollisions();
    }

    testsupport::TempDir dir;
    SceneController controller;
};

}  // namespace

TEST_F(GameRules, TwoRingsCapturedInOneFrameBothScoreAndOnlyOnce) {
    flyTo(kGate);
    EXPECT_EQ(controller.score, 100);
    EXPECT_EQ(controller.rings.size(), 2u);
    EXPECT_FALSE(controller.finished);
    flyTo(kGate);
    EXPECT_EQ(controller.score, 100);
}

TEST_F(GameRules, FinishInTheSameFrameAsARingCountsBoth) {
    flyTo(kFinish);
    EXPECT_EQ(controller.score, 150);
    EXPECT_TRUE(controller.finished);
    EXPECT_TRUE(controller.finishRings.empty());
}

TEST_F(GameRules, TheFinishRingCapturesWithinNineUnits) {
    flyTo(kFinish + glm::vec3(8.5f, 0.0f, 0.0f));
    EXPECT_EQ(controller.score, 100);
    EXPECT_TRUE(controller.finished);
}

TEST_F(GameRules, AltitudeComesFromTheHeightMapAndZeroIsACrash) {
    EXPECT_EQ(controller.altitude, 100.0f);
    flyTo(kStart);
    EXPECT_FLOAT_EQ(controller.altitude, controller.heightMap->altitude(kStart.x, kStart.y, kStart.z));
    EXPECT_TRUE(controller.running);
    flyTo(glm::vec3(kStart.x, 0.0f, kStart.z));
    EXPECT_EQ(controller.altitude, 0.0f);
    EXPECT_FALSE(controller.running);
}

TEST_F(GameRules, RestartPutsTheCraftAndEveryRingBack) {
    controller.update(0.5);
    flyTo(kGate);
    flyTo(kFinish);
    flyTo(glm::vec3(kStart.x, -1.0f, kStart.z));
    ASSERT_FALSE(controller.running);
    ASSERT_TRUE(controller.finished);

    controller.restart();
    EXPECT_EQ(controller.score, 0);
    EXPECT_TRUE(controller.running);
    EXPECT_FALSE(controller.finished);
    EXPECT_EQ(controller.player->position, kStart);
    EXPECT_EQ(controller.player->getModelMatrix(), at(kStart));
    EXPECT_EQ(controller.player->speed, 7.5f);
    EXPECT_EQ(controller.player->pitchAngle, 90.0f);
    EXPECT_EQ(controller.rings.size(), 4u);
    EXPECT_EQ(controller.finishRings.size(), 1u);
    flyTo(kFinish);
    EXPECT_EQ(controller.score, 150);  // the course scores again
}
