// The race without a window: the game's loop frame by frame, as the session, the par tool and the
// autopilot tests run it.
#include "game/Race.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <CImg.h>
#include <glm/gtc/matrix_transform.hpp>

#include "game/KeyInput.h"
#include "terrain/HeightMap.h"
#include "tests/support/ScriptedKeys.h"
#include "tests/support/TestFiles.h"

using namespace common::scene;

namespace {

constexpr double kStep = 0.05;
constexpr float kGroundHeight = 20.0f;
// Hands off, the craft flies level at its start speed along +z and sinks: it is here after `t` s.
const glm::vec3 kStart(5.0f, 60.0f, -30.0f);
const glm::vec3 kVelocity(0.0f, -CraftFlight::kSinkRate, CraftFlight::kStartSpeed);
glm::vec3 handsOffAt(double t) {
    return kStart + float(t) * kVelocity;
}

// A ring at `centre` facing along the hands-off flight.
RaceCourse::Ring ringAt(const glm::vec3& centre, bool finish = false) {
    const glm::vec3 axis = glm::normalize(kVelocity);
    const glm::vec3 side = glm::normalize(glm::cross(axis, glm::vec3(0.0f, 1.0f, 0.0f)));
    glm::mat4 transform(1.0f);
    transform[0] = glm::vec4(side, 0.0f);
    transform[1] = glm::vec4(axis, 0.0f);
    transform[2] = glm::vec4(glm::cross(side, axis), 0.0f);
    transform[3] = glm::vec4(centre, 1.0f);
    return {transform, finish};
}

struct Event {
    GameEventType type;
    int index;
    bool operator==(const Event& other) const { return type == other.type && index == other.index; }
};
std::ostream& operator<<(std::ostream& out, const Event& event) {
    return out << "{" << int(event.type) << ", " << event.index << "}";
}

const Event kTick3{GameEventType::CountdownTick, 3}, kTick2{GameEventType::CountdownTick, 2},
    kTick1{GameEventType::CountdownTick, 1}, kGo{GameEventType::CountdownTick, 0},
    kRestarted{GameEventType::Restarted, 0}, kCrashed{GameEventType::Crashed, 0};
Event captured(int ring) {
    return {GameEventType::RingCaptured, ring};
}

// Rings after 1 and 2 s of hands-off flight, the finish after 3 s, over flat ground 20 high.
class RaceFrames : public ::testing::Test {
  protected:
    RaceFrames() {
        cimg_library::CImg<unsigned char> flat(64, 64, 1, 1, static_cast<unsigned char>(kGroundHeight));
        const std::string path = (dir.path() / "ground.bmp").string();
        flat.save_bmp(path.c_str());
        ground.load(255.0f, path);  // one unit per grey level
    }

    Race& race(const glm::vec3& start = kStart) {
        RaceCourse course;
        course.start = glm::translate(glm::mat4(1.0f), start);
        course.rings = {ringAt(handsOffAt(1.0)), ringAt(handsOffAt(2.0)), ringAt(handsOffAt(3.0), true)};
        built = std::make_unique<Race>(course, &ground);
        return *built;
    }

    // `frames` frames as the game runs them: advance, then show. Stamps each event with its time.
    std::vector<Event> run(Race& race, int frames, const InputFrame& input = {}) {
        std::vector<Event> events;
        for (int frame = 0; frame < frames; ++frame) {
            for (const GameEvent& event : race.advance(kStep, input)) {
                events.push_back({event.type, event.index});
                times.push_back(event.time);
            }
            race.frameShown();
        }
        return events;
    }

    testsupport::TempDir dir;
    HeightMap ground;
    std::unique_ptr<Race> built;
    std::vector<double> times;
};

}  // namespace

// A whole race: the warm-up step, the countdown's numbers with the scene still, every ring in course
// order on the race clock, the finish, and nothing moving once the finish has been shown.
TEST_F(RaceFrames, CountdownRingsAndFinishComeInOrderOnTheRaceClock) {
    Race& r = race();
    EXPECT_TRUE(r.advancesNow());
    EXPECT_EQ(run(r, 1), (std::vector<Event>{kTick3}));
    const glm::vec3 afterWarmUp = r.craft().position;
    EXPECT_GT(afterWarmUp.z, kStart.z) << "the warm-up step flies";
    EXPECT_FALSE(r.advancesNow());
    EXPECT_EQ(run(r, 70), (std::vector<Event>{kTick2, kTick1, kGo}));
    EXPECT_EQ(r.craft().position, afterWarmUp) << "the scene holds still during the countdown";
    EXPECT_EQ(r.phase().raceTime, 0.0);
    run(r, 10);  // the last number has been shown: the countdown is over
    ASSERT_FALSE(r.phase().countdownActive);

    times.clear();
    EXPECT_EQ(run(r, 80),
              (std::vector<Event>{captured(0), captured(1), captured(2), {GameEventType::Finished, 2}}));
    // The warm-up step put the craft one step ahead of the race clock.
    EXPECT_NEAR(times[0], 1.0 - kStep, kStep + 1e-9);
    EXPECT_NEAR(times[1], 2.0 - kStep, kStep + 1e-9);
    EXPECT_EQ(times[2], times[3]) << "the finish is the finish ring's capture";
    EXPECT_EQ(times[3], r.phase().raceTime);
    EXPECT_EQ(r.rules().score, 2 * GameRules::kRingPoints + GameRules::kFinishPoints);
    EXPECT_FALSE(r.advancesNow());
    const glm::vec3 atFinish = r.craft().position;
    EXPECT_TRUE(run(r, 5).empty());
    EXPECT_EQ(r.craft().position, atFinish);
    EXPECT_EQ(r.phase().raceTime, times[3]);
}

// Touching the ground ends the race: one crash, then nothing moves and the clock stops.
TEST_F(RaceFrames, TheGroundEndsTheRaceOnceAndStopsTheClock) {
    Race& r = race(glm::vec3(5.0f, kGroundHeight + 2.0f, -30.0f));
    const std::vector<Event> events = run(r, 120);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), kCrashed);
    EXPECT_EQ(std::count(events.begin(), events.end(), kCrashed), 1);
    EXPECT_FALSE(r.rules().running);
    EXPECT_GT(r.phase().raceTime, 0.0);
    const double crashTime = r.phase().raceTime;
    const glm::vec3 wreck = r.craft().position;
    EXPECT_TRUE(run(r, 5).empty());
    EXPECT_EQ(r.phase().raceTime, crashTime);
    EXPECT_EQ(r.craft().position, wreck);
}

// Paused, nothing counts: not the countdown, not the flight, not the clock. Going on resumes exactly.
TEST_F(RaceFrames, PauseHoldsTheCountdownTheCraftAndTheClock) {
    Race& r = race();
    run(r, 5);
    EXPECT_TRUE(r.togglePause());
    const float timer = r.phase().countdownTimer;
    EXPECT_TRUE(run(r, 100).empty()) << "no countdown number while paused";
    EXPECT_EQ(r.phase().countdownTimer, timer);
    EXPECT_FALSE(r.togglePause());
    run(r, 80);
    ASSERT_FALSE(r.phase().countdownActive);
    run(r, 4);
    r.togglePause();
    const glm::vec3 held = r.craft().position;
    const double clock = r.phase().raceTime;
    EXPECT_FALSE(r.advancesNow());
    run(r, 10, {1.0f, 0.0f, 1.0f, 0.0f});
    EXPECT_EQ(r.craft().position, held);
    EXPECT_EQ(r.phase().raceTime, clock);
    r.togglePause();
    run(r, 1);
    EXPECT_NEAR(r.phase().raceTime, clock + kStep, 1e-12);
}

// A restart mid-race, paused or not: reported first in the next frame, then a new countdown from 3;
// the craft at the start, the score 0, the clock 0, and every ring scores again.
TEST_F(RaceFrames, ARestartBringsEveryRingBackAndRunsTheCountdownAgain) {
    Race& r = race();
    run(r, 81 + 25);
    ASSERT_EQ(r.rules().score, GameRules::kRingPoints);
    r.togglePause();
    r.restart();
    EXPECT_FALSE(r.phase().paused);
    EXPECT_EQ(r.craft().position, kStart);
    EXPECT_EQ(r.craft().previousPosition, kStart) << "the jump back is no step through the rings";
    EXPECT_EQ(r.craft().speed, CraftFlight::kStartSpeed);
    EXPECT_EQ(r.rules().score, 0);
    EXPECT_EQ(r.phase().raceTime, 0.0);
    EXPECT_EQ(run(r, 1), (std::vector<Event>{kRestarted, kTick3}));
    run(r, 80);
    EXPECT_EQ(run(r, 30), (std::vector<Event>{captured(0)}));
}

// Up (the key, or the stick half forward) noses the craft down, or up with the pitch inverted; the
// roll is the same either way.
TEST_F(RaceFrames, InvertedPitchTurnsUpAndDownAround) {
    testsupport::ScriptedKeys keys;
    keys.partly[keys::kUp] = 0.5f;
    keys.held.insert(keys::kLeft);
    float pitch[2];
    for (const bool inverted : {false, true}) {
        Race& r = race();
        run(r, 80);
        const float level = r.craft().pitchAngle;
        run(r, 10, InputFrame::from(keys, inverted));
        pitch[inverted] = r.craft().pitchAngle - level;
        EXPECT_EQ(InputFrame::from(keys, inverted).rollLeft, 1.0f);
    }
    EXPECT_GT(pitch[false], 0.0f) << "the nose goes down";
    EXPECT_LT(pitch[true], 0.0f) << "the nose goes up";
}

// The input steers only frames that fly: held through the countdown it turns nothing; then it does.
TEST_F(RaceFrames, TheInputSteersOnlyFramesThatFly) {
    Race& r = race();
    const InputFrame noseDown{1.0f, 0.0f, 0.0f, 0.0f};
    run(r, 1);
    const float level = r.craft().pitchAngle;
    run(r, 60, noseDown);
    EXPECT_EQ(r.craft().pitchAngle, level);
    run(r, 20);
    run(r, 5, noseDown);
    EXPECT_GT(r.craft().pitchAngle, level);
    EXPECT_GT(r.craft().speed, CraftFlight::kStartSpeed) << "diving gains speed";
}
