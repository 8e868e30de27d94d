// Every generated course flown by the game's autopilot and rules, in process, at the steps the game
// runs at: 60 frames a second and the main loop's frame-time clamp.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "scene/CourseFlight.h"
#include "tests/support/CourseManifest.h"

namespace {

using common::scene::CourseFlight;
using common::scene::FlightResult;

constexpr double kSixtyHz = 1.0 / 60.0;
// The float 0.04 widened to double, as the main loop clamps a long frame.
constexpr double kClampedStep = double(0.04f);

TEST(Courses, TheAutopilotFliesEveryCourseThroughEveryRingToTheFinish) {
    const auto courses = testsupport::readCourseManifest();
    std::vector<std::string> names;
    for (const auto& course : courses) {
        names.push_back(course.name);
    }
    ASSERT_EQ(names, (std::vector<std::string>{"mountain", "coast", "slalom", "marathon"}));
    for (const auto& course : courses) {
        CourseFlight flight(course.scenePath, course.heightMapPath);
        if (course.name == "marathon") {
            EXPECT_GE(flight.ringCount(), 50u);
        }
        for (double dt : {kSixtyHz, kClampedStep}) {
            const FlightResult result = flight.fly(dt);
            std::printf("[ course   ] %-9s dt %.4f s: %zu rings, %.0f units, %.2f s, lowest altitude %.2f\n",
                        course.name.c_str(), dt, flight.ringCount(), course.length, result.seconds,
                        result.lowestAltitude);
            EXPECT_FALSE(result.crashed)
                << course.name << " at dt " << dt << ": crashed after " << result.seconds;
            EXPECT_TRUE(result.finished) << course.name << " at dt " << dt;
            EXPECT_EQ(result.score, flight.fullScore())
                << course.name << " at dt " << dt << ": " << flight.rules().remainingRings().size() << " of "
                << flight.ringCount() << " rings missed";
        }
    }
}

}  // namespace
