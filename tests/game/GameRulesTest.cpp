#include "game/GameRules.h"

#include <gtest/gtest.h>

#include <deque>

#include <CImg.h>
#include <glm/gtc/matrix_transform.hpp>

#include "game/CraftFlight.h"
#include "game/RingCapture.h"
#include "game/RingGate.h"
#include "terrain/HeightMap.h"
#include "tests/support/TestFiles.h"

using namespace common::scene;

namespace common::scene {
bool operator==(const GameEvent& a, const GameEvent& b) {
    return a.type == b.type && a.index == b.index;
}
}  // namespace common::scene

namespace {

const glm::vec3 kGate(10, 50, -10);    // rings 0 and 1, in the same place
const glm::vec3 kFinish(20, 50, -20);  // ring 2, the finish, and ring 3, an ordinary ring
const glm::vec3 kLone(30, 50, -25);    // ring 4

// A course on flat ground 20 units high: rings lie flat (axis along world y), so a craft at a ring's
// centre is in its plane.
class Rules : public ::testing::Test {
  protected:
    Rules() {
        cimg_library::CImg<unsigned char> flat(64, 64, 1, 1, 20);
        const std::string path = (dir.path() / "ground.bmp").string();
        flat.save_bmp(path.c_str());
        ground.load(255.0f, path);  // one unit per grey level
        for (const auto& [centre, finish] :
             {std::pair{kGate, false}, {kGate, false}, {kFinish, true}, {kFinish, false}, {kLone, false}}) {
            gates.emplace_back(glm::translate(glm::mat4(1.0f), centre));
            rules.addRing(&gates.back(), finish);
        }
    }

    // The craft put down at `position`, as if it had been there all along.
    GameEvents flyTo(const glm::vec3& position) {
        craft.previousPosition = position;
        craft.position = position;
        return rules.checkCollisions(craft);
    }

    testsupport::TempDir dir;
    HeightMap ground;
    std::deque<RingGate> gates;
    GameRules rules{&ground};
    CraftFlight craft;
};

GameEvent captured(int index) {
    return {GameEventType::RingCaptured, index};
}

}  // namespace

// The next ring is the first uncaptured one in course order, the finish included.
TEST_F(Rules, TwoRingsInOneFrameBothScoreOnceWithTheirPlaceInTheCourse) {
    EXPECT_EQ(rules.nextRing(), 0u);
    EXPECT_EQ(flyTo(kGate), (GameEvents{captured(0), captured(1)}));
    EXPECT_EQ(rules.score, 100);
    EXPECT_EQ(rules.remainingRings().size(), 2u);
    EXPECT_EQ(rules.nextRing(), 2u);
    EXPECT_TRUE(flyTo(kGate).empty());
    EXPECT_EQ(rules.score, 100);
    EXPECT_FALSE(rules.finished);
    flyTo(kLone);
    EXPECT_EQ(rules.nextRing(), 2u) << "a ring flown out of order leaves the earlier one next";
}

// Ordinary rings are asked first, then finish rings; the finish ends the game in the same frame. A
// restart after a crash puts every ring back and the course scores again.
TEST_F(Rules, AFinishInTheSameFrameAsARingCountsBothAndARestartPutsEveryRingBack) {
    EXPECT_EQ(flyTo(kFinish), (GameEvents{captured(3), captured(2), {GameEventType::Finished, 2}}));
    EXPECT_EQ(rules.score, 150);
    EXPECT_TRUE(rules.finished);
    EXPECT_TRUE(rules.remainingFinishRings().empty());
    flyTo(kGate);
    flyTo(kLone);
    EXPECT_FALSE(rules.nextRing().has_value()) << "every ring captured";
    flyTo(glm::vec3(40, 0.0f, -40));
    ASSERT_FALSE(rules.running);

    rules.restart();
    EXPECT_EQ(rules.score, 0);
    EXPECT_TRUE(rules.running);
    EXPECT_FALSE(rules.finished);
    EXPECT_EQ(rules.remainingRings().size(), 4u);
    EXPECT_EQ(rules.remainingFinishRings().size(), 1u);
    EXPECT_EQ(rules.nextRing(), 0u);
    EXPECT_EQ(flyTo(kFinish).size(), 3u);  // the course scores again
    EXPECT_EQ(rules.score, 150);
}

// Without a ground nothing is a crash.
TEST_F(Rules, AltitudeIsMeasuredOverTheGroundAndZeroIsOneCrash) {
    EXPECT_EQ(rules.altitude, 100.0f);
    EXPECT_TRUE(flyTo(glm::vec3(40, 50, -40)).empty());
    EXPECT_FLOAT_EQ(rules.altitude, 30.8f);  // 30 above the ground, plus the 0.8 the craft may sink
    EXPECT_TRUE(flyTo(glm::vec3(40, 19.5f, -40)).empty());
    EXPECT_TRUE(rules.running);
    EXPECT_EQ(flyTo(glm::vec3(40, 19.0f, -40)), (GameEvents{{GameEventType::Crashed}}));
    EXPECT_EQ(rules.altitude, 0.0f);
    EXPECT_FALSE(rules.running);
    EXPECT_TRUE(flyTo(glm::vec3(40, 0.0f, -40)).empty());  // still down: no second crash

    GameRules withoutGround;  // nothing is a crash
    EXPECT_TRUE(withoutGround.checkCollisions(craft).empty());
    EXPECT_TRUE(withoutGround.running);
}

// The longest step the craft makes is straight down at the top speed in the longest frame (0.04 s):
// 12 along the nose plus 3 of sink, 0.6, the whole depth of a ring's capture slab. Between heights 8
// and 16 the float positions come out a hair more than 0.6 apart, so a flat ring halfway between two
// of them has neither in its slab; it still scores. A restart puts the craft back above the ring
// without flying it through.
TEST(GameRules, ACraftDivingAtTopSpeedScoresARingThatNoneOfItsPositionsLiesIn) {
    CraftFlight craft;
    const auto dive = [&craft](int steps, GameRules* rules = nullptr) {
        craft.setPose(glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(5, 16, -5)), glm::radians(90.0f),
                                  glm::vec3(1, 0, 0)));  // nose straight down
        craft.resetFlight();
        craft.speed = CraftFlight::kMaxSpeed;
        for (int step = 0; step < steps; ++step) {
            craft.fly(0.04, InputFrame{});
            if (rules) {
                rules->checkCollisions(craft);
            }
        }
        return craft.position;
    };
    const glm::vec3 above = dive(5);
    const glm::vec3 below = dive(6);
    RingGate ring(glm::translate(glm::mat4(1.0f), 0.5f * (above + below)));
    ASSERT_FALSE(ringCaptures(ring.pose, above, kRingRadius) || ringCaptures(ring.pose, below, kRingRadius));

    GameRules rules;
    rules.addRing(&ring, false);
    dive(12, &rules);
    EXPECT_EQ(rules.score, GameRules::kRingPoints);
    dive(0);  // the restart
    rules.restart();
    EXPECT_TRUE(rules.checkCollisions(craft).empty());
}
