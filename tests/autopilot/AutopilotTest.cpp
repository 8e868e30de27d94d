// The autopilot: over every generated course with the game's rules, and over made-up courses with the
// craft alone.
#include "game/Autopilot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "app/CourseCatalogue.h"
#include "game/AutopilotFlight.h"
#include "game/CraftFlight.h"
#include "game/Race.h"
#include "game/RingCapture.h"
#include "progress/GhostFile.h"
#include "scene/SceneLayout.h"
#include "terrain/HeightMap.h"

using namespace common::scene;
namespace keys = common::scene::keys;

namespace {

constexpr double kSixtyHz = 1.0 / 60.0;
// The frame-time clamp of the main loop: the float 0.04 widened to double.
constexpr double kClampedStep = double(0.04f);

// ---- Every generated course, raced by the game's rules without a window (warm-up step, countdown,
// flight), at the steps the game runs at. The par time the build wrote into the course list is the
// autopilot's own time at 1/60 s ----

// A course of the catalogue with its ground, ready to race.
struct CourseRace {
    explicit CourseRace(const common::scene::CourseInfo& course) {
        ground.load(HeightMap::kCourseMaxHeight, course.heightMapPath);
        race = std::make_unique<Race>(SceneLayout::readRaceCourse(course.scenePath), &ground);
    }
    std::int32_t fullScore() const {
        return GameRules::kRingPoints * std::int32_t(race->rules().ringCount() - 1) +
               GameRules::kFinishPoints;
    }
    HeightMap ground;
    std::unique_ptr<Race> race;
};

TEST(Courses, TheAutopilotFliesEveryCourseThroughEveryRingToTheFinishInItsParTime) {
    const auto catalogue = common::app::CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    EXPECT_EQ(catalogue.names(), "mountain, coast, slalom, marathon");
    for (const auto& course : catalogue.courses()) {
        for (double dt : {kSixtyHz, kClampedStep}) {
            SCOPED_TRACE(course.name + " at dt " + std::to_string(dt));
            CourseRace flight(course);
            Race& race = *flight.race;
            EXPECT_EQ(course.rings, int(race.course().rings.size()));
            if (course.name == "marathon") {
                EXPECT_GE(race.course().rings.size(), 50u);
            }
            Autopilot pilot(race.course().ringTransforms());
            const FlightResult result = AutopilotFlight::fly(race, pilot, dt);
            std::printf("[ course   ] %-9s dt %.4f s: %zu rings, %.0f units, %.2f s, lowest altitude %.2f\n",
                        course.name.c_str(), dt, race.course().rings.size(), course.length, result.seconds,
                        result.lowestAltitude);
            EXPECT_FALSE(result.crashed) << "crashed after " << result.seconds;
            EXPECT_TRUE(result.finished);
            EXPECT_EQ(result.score, flight.fullScore()) << race.rules().remainingRings().size() << " of "
                                                        << race.course().rings.size() << " rings missed";
            if (dt == kSixtyHz) {
                EXPECT_DOUBLE_EQ(course.par, result.seconds);
            }
        }
    }
}

// The par flight ships as a ghost for every course: it leaves from the start, lasts the par time and
// ends inside the finish ring.
TEST(Courses, EveryCourseShipsItsParFlightAsAGhostEndingAtTheFinishRing) {
    const auto catalogue = common::app::CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    for (const auto& course : catalogue.courses()) {
        SCOPED_TRACE(course.name);
        const auto ghost = common::progress::GhostFile::read(course.parGhostPath);
        ASSERT_TRUE(ghost && ghost->samples().size() > 2) << course.parGhostPath;
        const RaceCourse layout = SceneLayout::readRaceCourse(course.scenePath);
        const auto& samples = ghost->samples();
        EXPECT_LT(glm::distance(samples.front().position, glm::vec3(layout.start[3])), 1.0f);
        EXPECT_DOUBLE_EQ(samples.back().time, course.par);
        ASSERT_TRUE(layout.rings.back().finish);
        const RingPose finish = poseOfRing(layout.rings.back().transform);
        EXPECT_LT(glm::distance(samples.back().position, finish.centre), kFinishRadius);
        EXPECT_LT(std::abs(glm::dot(samples.back().position - finish.centre, finish.axis)), 1.0f);
    }
}

// ---- The shipped course ----

// A restart puts the craft back at the start: the autopilot notices the jump and flies the course
// again from the first ring, after a new countdown.
TEST(ShippedCourse, StartsOverAfterARestartMidCourse) {
    CourseRace flight(*common::app::CourseCatalogue::load().find("mountain"));
    Race& race = *flight.race;
    Autopilot pilot(race.course().ringTransforms());
    const FlightResult firstHalf =
        AutopilotFlight::fly(race, pilot, kSixtyHz, AutopilotFlight::kTimeLimit,
                             [&] { return pilot.nextRing() >= pilot.ringCount() / 2; });
    ASSERT_FALSE(firstHalf.crashed);
    ASSERT_GE(pilot.nextRing(), pilot.ringCount() / 2);

    race.restart();
    pilot.steer(race.craft(), kSixtyHz);
    EXPECT_EQ(pilot.nextRing(), 0u);
    const FlightResult result = AutopilotFlight::fly(race, pilot, kSixtyHz);
    EXPECT_FALSE(result.crashed) << "crashed after " << result.seconds << " s";
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.score, flight.fullScore());
}

// ---- Made-up courses, flown by the craft alone (no window needed) ----

struct Leg {
    float length;
    float turn;  // degrees, positive to the left
    float climb;
};

// Rings laid out leg by leg from `start` (heading +z), each facing along the course, the last one a
// finish ring, scaled as the game's rings are.
std::vector<glm::mat4> layCourse(const glm::vec3& start, const std::vector<Leg>& legs) {
    std::vector<glm::vec3> points{start};
    float heading = 0.0f;
    for (const Leg& leg : legs) {
        heading += glm::radians(leg.turn);
        points.push_back(points.back() + glm::vec3(std::sin(heading) * leg.length, leg.climb,
                                                   std::cos(heading) * leg.length));
    }
    points.push_back(2.0f * points.back() - points[points.size() - 2]);
    std::vector<glm::mat4> rings;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const float scale = i + 2 == points.size() ? 1.0f : 0.25f;
        const glm::vec3 axis = glm::normalize(points[i + 1] - points[i - 1]);
        const glm::vec3 side = glm::normalize(glm::cross(axis, glm::vec3(0.0f, 1.0f, 0.0f)));
        glm::mat4 ring(1.0f);
        ring[0] = glm::vec4(side * scale, 0.0f);
        ring[1] = glm::vec4(axis * scale, 0.0f);
        ring[2] = glm::vec4(glm::cross(side, axis) * scale, 0.0f);
        ring[3] = glm::vec4(points[i], 1.0f);
        rings.push_back(ring);
    }
    return rings;
}

// Where the craft crossed each ring's plane: its distance from the centre then (infinity if never).
struct Crossings {
    std::vector<float> missDistance;
    bool keptThePitchLimit = true;
    bool levelAtTheEnd = false;
};

Crossings flyAlone(const std::vector<glm::mat4>& rings, const glm::mat4& start, double dt, double seconds) {
    CraftFlight craft(start);
    Autopilot pilot(rings);
    Crossings crossings;
    crossings.missDistance.assign(rings.size(), INFINITY);
    for (int frame = 0; frame < int(seconds / dt); ++frame) {
        pilot.steer(craft, dt);
        if (pilot.isKeyDown(keys::kUp) && craft.pitchAngle + float(dt * 40.0) >= CraftFlight::kPitchLimit) {
            crossings.keptThePitchLimit = false;
        }
        const glm::vec3 before = craft.position;
        craft.fly(dt, InputFrame::from(pilot));
        for (std::size_t i = 0; i < rings.size(); ++i) {
            const glm::vec3 centre(rings[i][3]);
            const glm::vec3 axis = glm::normalize(glm::vec3(rings[i][1]));
            const float from = glm::dot(before - centre, axis);
            const float to = glm::dot(craft.position - centre, axis);
            if (from < 0.0f && to >= 0.0f) {
                const glm::vec3 crossing = glm::mix(before, craft.position, from / (from - to));
                crossings.missDistance[i] =
                    std::min(crossings.missDistance[i], glm::length(crossing - centre));
            }
        }
    }
    const glm::vec3 wing = glm::normalize(glm::vec3(craft.pose()[0]));
    crossings.levelAtTheEnd = std::fabs(wing.y) < std::sin(glm::radians(5.0f));
    return crossings;
}

const glm::vec3 kHighStart(100.0f, 400.0f, -450.0f);

// Each course from high above, gliding down as the craft must: turns of 90 degrees each way; a right
// turn of 135 degrees, a short climb paid for with speed, a left turn and a steep dive; a first ring
// 45 degrees off where the craft points, either way, which it banks round to. Every ring is passed
// within a unit of its centre, without ever asking for a turn past the pitch limit.
TEST(AutopilotAlone, FliesEveryCourseThroughTheRingCentresWithinThePitchLimitAndLevelsTheWings) {
    const struct {
        float yaw;  // of the craft at the start, degrees to the left
        std::vector<Leg> legs;
    } courses[] = {
        {0.0f, {{30, 0, -16}, {30, 90, -16}, {30, 90, -16}, {30, -90, -16}, {30, -90, -16}, {30, 0, -16}}},
        {0.0f,
         {{30, 0, -16},
          {30, -45, -16},
          {30, -45, -16},
          {30, -45, -16},
          {30, 0, 2},
          {30, 60, -16},
          {30, 60, -16},
          {25, 0, -30},
          {30, 0, -16}}},
        {45.0f, {{30, 0, -16}, {30, 0, -16}, {30, 0, -16}}},
        {-45.0f, {{30, 0, -16}, {30, 0, -16}, {30, 0, -16}}},
    };
    for (const auto& course : courses) {
        const auto rings = layCourse(kHighStart, course.legs);
        const glm::mat4 start = glm::rotate(glm::translate(glm::mat4(1.0f), kHighStart),
                                            glm::radians(course.yaw), glm::vec3(0, 1, 0));
        for (double dt : {kSixtyHz, kClampedStep}) {
            SCOPED_TRACE(testing::Message()
                         << course.legs.size() << " legs, yaw " << course.yaw << ", dt " << dt);
            const Crossings crossings = flyAlone(rings, start, dt, 50.0);
            for (std::size_t i = 0; i < crossings.missDistance.size(); ++i) {
                EXPECT_LT(crossings.missDistance[i], 1.0f) << "ring " << i;
            }
            EXPECT_TRUE(crossings.keptThePitchLimit);
        }
    }

    // Once on a straight line the craft flies wings level rather than rocking from bank to bank.
    const auto straight = layCourse(kHighStart, {{30, 45, -16}, {30, 0, -12}, {30, 0, -12}, {30, 0, -12}});
    EXPECT_TRUE(
        flyAlone(straight, glm::translate(glm::mat4(1.0f), kHighStart), kSixtyHz, 14.0).levelAtTheEnd);
}

}  // namespace
