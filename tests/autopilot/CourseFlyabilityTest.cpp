// Every generated course flown by the game's autopilot and rules, in process, at the steps the game
// runs at: 60 frames a second and the main loop's frame-time clamp. The par time the build wrote into
// the course list is the autopilot's own time at 1/60 s.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/CourseCatalogue.h"
#include "scene/CourseFlight.h"

namespace {

using namespace common::scene;

constexpr double kSixtyHz = 1.0 / 60.0;
// The float 0.04 widened to double, as the main loop clamps a long frame.
constexpr double kClampedStep = double(0.04f);

TEST(Courses, TheAutopilotFliesEveryCourseThroughEveryRingToTheFinishInItsParTime) {
    const auto catalogue = common::app::CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    EXPECT_EQ(catalogue.names(), "mountain, coast, slalom, marathon");
    for (const auto& course : catalogue.courses()) {
        CourseFlight flight(course.scenePath, course.heightMapPath);
        EXPECT_EQ(course.rings, int(flight.ringTransforms().size())) << course.name;
        if (course.name == "marathon") {
            EXPECT_GE(flight.ringCount(), 50u);
        }
        for (double dt : {kSixtyHz, kClampedStep}) {
            SCOPED_TRACE(course.name + " at dt " + std::to_string(dt));
            const FlightResult result = flight.fly(dt);
            std::printf("[ course   ] %-9s dt %.4f s: %zu rings, %.0f units, %.2f s, lowest altitude %.2f\n",
                        course.name.c_str(), dt, flight.ringCount(), course.length, result.seconds,
                        result.lowestAltitude);
            EXPECT_FALSE(result.crashed) << "crashed after " << result.seconds;
            EXPECT_TRUE(result.finished);
            EXPECT_EQ(result.score, flight.fullScore())
                << flight.rules().remainingRings().size() << " of " << flight.ringCount() << " rings missed";
            if (dt == kSixtyHz) {
                EXPECT_DOUBLE_EQ(course.par, result.seconds);
            }
        }
    }
}

}  // namespace
