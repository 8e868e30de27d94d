// Choosing the course from outside the game: the command line, config.txt, and a course list that is
// missing. A wrong choice costs only the choice.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

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

// A course file in the player's folder: the check's statuses (0 with its summary, 1 with one line
// per problem, 2 without a file), a broken file refused before any window opens, the list, then the
// demo flies it to the finish.
TEST(CourseChoice, APlayersCourseFileIsCheckedListedAndFlownToTheFinish) {
    const std::string hop =
        R"({"format": "skyrings-course", "version": 1, "name": "two rings", "island": "coast",
        "start": {"position": [38, 156, -440]},
        "rings": [{"position": [38, 130, -400], "direction": [0, -0.48, 0.88]},
                  {"position": [38, 120, -374], "direction": [0, -0.36, 0.93], "finish": true}]})";
    std::string broken = hop;
    broken.replace(broken.find("\"finish\": true"), 14, "\"finish\": false");
    GameProcess game({"WIDTH\n320\nHEIGHT\n240\n", true, true, "--demo", {}, {}, {"--course", "two rings"}});
    const auto file = game.dataDir() / "skyrings" / "courses" / "hop.json";
    std::filesystem::create_directories(file.parent_path());
    { std::ofstream(file) << hop; }
    { std::ofstream(game.dataDir() / "broken.json") << broken; }

    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    } commands[] = {
        {{"--check-course", file.string()}, 0, "two rings: 2 rings, ", ""},
        {{"--check-course", (game.dataDir() / "broken.json").string()},
         1,
         "",
         (game.dataDir() / "broken.json").string() + ": no finish ring"},
        {{"--check-course"}, 2, "", "--check-course"},
        {{"--course-file", (game.dataDir() / "broken.json").string()},
         1,
         "",
         (game.dataDir() / "broken.json").string() + ": no finish ring"},
        {{"--list-courses"}, 0, "two rings    2 rings", ""},
    };
    for (const auto& command : commands) {
        GameProcess run({std::nullopt,
                         false,
                         true,
                         nullptr,
                         {},
                         {"XDG_DATA_HOME=" + game.dataDir().string()},
                         command.arguments});
        run.start();
        EXPECT_EQ(run.waitForExit(), command.status) << command.arguments[0] << run.err();
        EXPECT_NE(run.out().find(command.out), std::string::npos) << run.out();
        EXPECT_NE(run.err().find(command.err), std::string::npos) << run.err();
        EXPECT_EQ(testsupport::occurrences(run.err(), "\n"), command.err.empty() ? 0 : 1) << run.err();
    }

    ASSERT_TRUE(game.startDrawing());
    const std::string finished = "Finished two rings in ";
    ASSERT_TRUE(GameProcess::waitUntil(
        [&] {
            const std::string out = game.out();
            return out.find(finished) != std::string::npos &&
                   out.find(" s\n", out.find(finished)) != std::string::npos;
        },
        std::chrono::seconds(120)))
        << game.out();
    // The file's two rings, 76 units of flight, not the island's own eleven (33 s).
    const std::string out = game.out();
    EXPECT_LT(std::stod(out.substr(out.find(finished) + finished.size())), 20.0) << out;
    EXPECT_TRUE(game.quit());
    EXPECT_EQ(game.err(), "");
}
