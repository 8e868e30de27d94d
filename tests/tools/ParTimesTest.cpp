// The game lists every course of the course list the build wrote, with its par time (that each par is
// the autopilot's own time over its course, the autopilot test checks).

#include <gtest/gtest.h>

#include "app/CourseCatalogue.h"
#include "tests/support/GameProcess.h"

TEST(ParTimes, TheGameListsEachCourseWithItsPar) {
    const auto catalogue = common::app::CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    ASSERT_EQ(catalogue.courses().size(), 4u);
    testsupport::GameProcess::Options listing;
    listing.withDisplay = false;
    listing.argument = "--list-courses";
    testsupport::GameProcess game(listing);
    game.start();
    ASSERT_EQ(game.waitForExit(), 0) << game.err();
    EXPECT_EQ(game.out(), catalogue.listing());
}
