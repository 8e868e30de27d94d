// Choosing the course from outside the game: the command line, config.txt, and a course list that is
// missing. A wrong choice costs only the choice.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "app/CourseCatalogue.h"
#include "tests/support/GameProcess.h"

using testsupport::GameProcess;

namespace {

constexpr const char* kDefaultSceneLine =
    "Debug: Load Scene../resources/meshes/low_res_Mountain/mountain_player.dae";

long lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

}  // namespace

// An unknown name on the command line: one line that names every valid course, status 2, no window.
TEST(CourseChoice, AnUnknownCourseOnTheCommandLineListsTheValidOnes) {
    GameProcess game({std::nullopt, false, true, "--course=nowhere"});
    game.start();
    EXPECT_EQ(game.waitForExit(), 2);
    EXPECT_EQ(game.out(), "");
    EXPECT_EQ(lineCount(game.err()), 1) << game.err();
    const common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    for (const common::scene::CourseInfo& course : catalogue.courses()) {
        EXPECT_NE(game.err().find(course.name), std::string::npos) << game.err();
    }
}

// An unknown course in config.txt, or no course list at all: one line on standard error, then the
// default course from its built-in paths.
TEST(CourseChoice, AnUnknownConfiguredCourseOrAMissingListPlaysTheDefaultCourse) {
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
        game.start();
        ASSERT_TRUE(game.waitForOutput(kDefaultSceneLine)) << game.out() << game.err();
        ASSERT_FALSE(game.waitForWindow().empty()) << game.err();
        ASSERT_TRUE(game.waitForFirstFrame()) << game.err();
        game.key("Escape");
        EXPECT_EQ(game.waitForExit(), 0) << game.err();
        EXPECT_EQ(lineCount(game.err()), 1) << game.err();
        EXPECT_NE(game.err().find(wrong.warning), std::string::npos) << game.err();
    }
}
