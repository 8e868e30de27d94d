#include "game/Player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include <glm/gtc/matrix_transform.hpp>

#include "game/KeyInput.h"
#include "tests/support/ScriptedKeys.h"
#include "tests/support/UnitGlmNear.h"

using common::scene::Player;
namespace keys = common::scene::keys;

namespace {

constexpr double kStep = 1.0 / 60.0;

// A craft placed level at (100, `height`, -100), nose along +z, with the keys held as far as given.
struct FlyingPlayer {
    explicit FlyingPlayer(std::map<int, float> held = {}, float height = 50.0f) {
        player.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(100.0f, height, -100.0f)));
        player.reset();
        keys.partly = std::move(held);
        player.setInput(&keys);
    }
    void fly(double seconds) {
        for (int i = 0; i < int(std::lround(seconds / kStep)); ++i) {
            player.update(kStep);
        }
    }
    Player player;
    testsupport::ScriptedKeys keys;
};

}  // namespace

// Level flight
TEST(PlayerFlight, ResetIsLevelAtStartSpeedAndLevelFlightSinksThreeUnitsPerSecond) {
    FlyingPlayer craft;
    EXPECT_EQ(craft.player.position, glm::vec3(100.0f, 50.0f, -100.0f));
    EXPECT_EQ(craft.player.pitchAngle, 90.0f);
    EXPECT_EQ(craft.player.speed, 7.5f);
    craft.fly(1.0);
    EXPECT_NEAR(craft.player.speed, 7.5f, 1e-4f);
    EXPECT_LT(glm::distance(craft.player.position, glm::vec3(100.0f, 47.0f, -92.5f)), 1e-3f);
    // The model matrix carries the position.
    EXPECT_EQ(glm::vec3(craft.player.getModelMatrix()[3]), craft.player.position);

    // A scaled model matrix moves the craft faster.
    craft.player.setModelMatrix(glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)));
    craft.player.reset();
    craft.fly(1.0);
    EXPECT_NEAR(craft.player.position.z, 15.0f, 1e-3f);
}

// Pitch and roll while keys are held: nose down stops short of the limit (150), nose up loops
// without one (over the vertical the nose points backwards), both together cancel, rolling alone
// keeps the nose level with the wing pointing up or down; a stick pushed half way turns at half the
// rate.
TEST(PlayerFlight, HeldKeysTurnTheCraftAtTheirRates) {
    const struct {
        std::map<int, float> held;
        double seconds;
        float pitchAngle;
        float wingUp;  // |wing.y|
        float noseZ;   // sign of the nose's z
    } cases[] = {
        {{{keys::kUp, 1.0f}}, 3.0, 149.67f, 0.0f, 1.0f},
        {{{keys::kDown, 1.0f}}, 2.0, 10.0f, 0.0f, 1.0f},
        {{{keys::kDown, 1.0f}}, 3.0, 30.0f, 0.0f, -1.0f},
        {{{keys::kUp, 1.0f}, {keys::kDown, 1.0f}}, 1.0, 90.0f, 0.0f, 1.0f},
        {{{keys::kRight, 1.0f}}, 0.75, 90.0f, 1.0f, 1.0f},
        {{{keys::kDown, 0.5f}}, 1.0, 70.0f, 0.0f, 1.0f},
    };
    for (const auto& c : cases) {
        FlyingPlayer craft(c.held);
        craft.fly(c.seconds);
        SCOPED_TRACE(c.pitchAngle);
        EXPECT_NEAR(craft.player.pitchAngle, c.pitchAngle, 0.34f);
        EXPECT_LT(craft.player.pitchAngle, 150.0f);
        EXPECT_NEAR(std::abs(craft.player.getModelMatrix()[0].y), c.wingUp, 1e-3f);
        EXPECT_GT(craft.player.direction.z * c.noseZ, 0.0f);
    }
}

// The normals are drawn with the inverse of the model matrix: every turn must refresh it. A nose-down
// turn reaching exactly the limit is refused.
TEST(PlayerFlight, TheInverseModelMatrixFollowsEveryTurnAndTurnsToTheLimitAreRefused) {
    Player craft;
    EXPECT_EQ(craft.getInverseModelMatrix(), glm::mat4(1.0f));
    for (auto turn : {&Player::roll, &Player::pitchUp, &Player::pitchDown}) {
        (craft.*turn)(30.0f);
        testsupport::expectNear(craft.getInverseModelMatrix() * craft.getModelMatrix(), glm::mat4(1.0f));
    }
    craft.pitchAngle = 140.0f;
    const glm::mat4 before = craft.getModelMatrix();
    craft.pitchDown(10.0f);
    EXPECT_EQ(craft.getModelMatrix(), before);
    craft.pitchDown(9.99f);
    EXPECT_NE(craft.getModelMatrix(), before);
}

// Speed: the nose's vertical part takes a unit a second climbing and gives one diving, between 2
// and 12. Without any input the craft flies hands off.
TEST(PlayerFlight, SpeedFollowsTheNoseVerticalPartBetweenTwoAndTwelve) {
    FlyingPlayer climbing({{keys::kDown, 1.0f}});
    climbing.fly(2.0);
    climbing.keys.partly.clear();
    climbing.fly(10.0);
    EXPECT_EQ(climbing.player.speed, 2.0f);
    FlyingPlayer diving({{keys::kUp, 1.0f}}, 5000.0f);
    diving.fly(20.0);
    EXPECT_EQ(diving.player.speed, 12.0f);

    Player player;
    player.reset();
    player.pitchAngle = 60.0f;  // 30 degrees nose up
    player.updateSpeed(1.0f);
    EXPECT_NEAR(player.speed, 7.0f, 1e-5f);
    player.pitchAngle = 120.0f;
    player.updateSpeed(1.0f);
    EXPECT_NEAR(player.speed, 7.5f, 1e-5f);
    player.update(kStep);
    EXPECT_NEAR(player.pitchAngle, 90.0f, 1e-4f);
}

// Matrices for the motion blur and the chase camera: the previous model matrix is the one before the
// frame's turns, and the previous position (where the rings take the step from) the one before its
// move. The chase eye sits 1 unit behind (horizontally) and 0.65 above, whatever the pitch;
// pointing straight up keeps the last one.
TEST(PlayerFlight, PrevModelMatrixIsBeforeTheTurnsAndTheChaseEyeOneUnitBehindAndAbove) {
    FlyingPlayer craft;
    craft.player.update(kStep);
    EXPECT_LT(glm::distance(craft.player.cameraEye(), craft.player.position + glm::vec3(0.0f, 0.65f, -1.0f)),
              1e-4f);
    craft.keys.partly = {{keys::kUp, 1.0f}, {keys::kRight, 1.0f}};
    craft.fly(0.5);
    const glm::mat4 before = craft.player.getModelMatrix();
    craft.player.update(kStep);
    EXPECT_EQ(craft.player.getPrevModelMatrix(), before);
    EXPECT_EQ(craft.player.previousPosition, glm::vec3(before[3]));
    EXPECT_NE(craft.player.getModelMatrix(), before);
    craft.keys.partly = {{keys::kUp, 1.0f}};
    craft.fly(1.0);
    const glm::vec3 eye = craft.player.cameraEye();
    const glm::vec2 behind(craft.player.position.x - eye.x, craft.player.position.z - eye.z);
    EXPECT_NEAR(glm::length(behind), 1.0f, 1e-4f);
    EXPECT_NEAR(eye.y - craft.player.position.y, 0.65f, 1e-4f);
    craft.player.direction = glm::vec4(0.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(craft.player.cameraEye(), eye);
}
