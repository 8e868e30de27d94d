// The par times the build wrote into the course list: each is the autopilot's own time over its
// course at 1/60 s, flown again here, and the game lists them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/CourseCatalogue.h"
#include "scene/CourseFlight.h"
#include "tests/support/GameProcess.h"

using common::app::CourseCatalogue;
using common::scene::CourseFlight;
using common::scene::CourseInfo;
using common::scene::FlightResult;

TEST(ParTimes, EachCourseParIsTheAutopilotsTimeAndTheGameListsIt) {
    const CourseCatalogue catalogue = CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    testsupport::GameProcess::Options listing;
    listing.withDisplay = false;
    listing.argument = "--list-courses";
    testsupport::GameProcess game(listing);
    game.start();
    ASSERT_EQ(game.waitForExit(), 0) << game.err();
    const std::string listed = game.out();

    for (const CourseInfo& course : catalogue.courses()) {
        CourseFlight flight(course.scenePath, course.heightMapPath);
        const FlightResult result = flight.fly(1.0 / 60.0);
        std::printf("[ course   ] %s: %d rings, %.0f units, par %.2f s\n", course.name.c_str(), course.rings,
                    course.length, course.par);
        EXPECT_TRUE(result.finished && !result.crashed) << course.name;
        EXPECT_DOUBLE_EQ(course.par, result.seconds) << course.name;
        EXPECT_EQ(course.rings, static_cast<int>(flight.ringTransforms().size())) << course.name;

        char par[32];
        std::snprintf(par, sizeof par, "par %.2f s", result.seconds);
        const std::string::size_type line = listed.find(course.name + " ");
        ASSERT_NE(line, std::string::npos) << listed;
        EXPECT_NE(listed.substr(line, listed.find('\n', line) - line).find(par), std::string::npos) << listed;
    }
}
