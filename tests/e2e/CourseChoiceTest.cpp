// Choosing the course from outside the game: the command line, config.txt, and a course list that is
// missing. A wrong choice costs only the choice.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/CourseCatalogue.h"
#include "tests/support/GameProcess.h"

using testsupport::GameProcess;

namespace {

constexpr const char* kDefaultSceneLine =
    "Debug: Load Scene../resources/meshes/low_res_Mountain/mountain_player.dae";

}  // namespace

// An unknown name on the command line: one line that names every valid course, status 2, no window.
// An unknown course in config.txt, or no course list at all: one line on standard error, then the
// default course from its built-in paths.
TEST(CourseChoice, AnUnknownCourseListsTheValidOnesOrPlaysTheDefaultCourse) {
    GameProcess game({std::nullopt, false, true, "--course=nowhere"});
    game.start();
    EXPECT_EQ(game.waitForExit(), 2);
    EXPECT_EQ(game.out(), "");
    EXPECT_EQ(testsupport::occurrences(game.err(), "\n"), 1) << game.err();
    const common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    for (const common::scene::CourseInfo& course : catalogue.courses()) {
        EXPECT_NE(game.err().find(course.name), std::string::npos) << game.err();
    }

    const struct {
        const char* config;
        bool removeList;
        const char* warning;
    } cases[] = {
        {"WIDTH\n320\nHEIGHT\n240\nCOURSE\nnowhere\n", false, "Unknown course \"nowhere\" in config.txt"},
        {"WIDTH\n320\nHEIGHT\n240\n", true, "Course list ../resources/courses/courses.json missing"},
    };
    for (const auto& wrong : cases) {
        GameProcess game({std::string(wrong.config), true, true});
        if (wrong.removeList) {
            game.copyResources();
            std::filesystem::remove(game.resourcesDir() / "courses" / "courses.json");
        }
        ASSERT_TRUE(game.startDrawing());
        EXPECT_NE(game.out().find(kDefaultSceneLine), std::string::npos) << game.out();
        EXPECT_TRUE(game.quit());
        EXPECT_EQ(testsupport::occurrences(game.err(), "\n"), 1) << game.err();
        EXPECT_NE(game.err().find(wrong.warning), std::string::npos) << game.err();
    }
}
