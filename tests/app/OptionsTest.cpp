#include "app/Options.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

using common::app::Options;

namespace {

const std::vector<std::string> kCourses = {"mountain", "coast", "slalom"};

Options parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "skyrings");
    return Options::parse(static_cast<int>(arguments.size()), arguments.data(), kCourses, kCourses);
}

}  // namespace

// Asked for information: status 0, nothing to play.
TEST(Options, HelpListsOptionsAndKeysVersionNamesTheGameAndDemoCourseAndListCoursesCombine) {
    for (const char* help : {"--help", "-h"}) {
        const Options options = parse({help});
        ASSERT_EQ(options.exitStatus(), 0) << help;
        for (const char* item : {"--demo", "--version", "--help", "Escape", "F10", "Left / Right", "M ",
                                 "--course", "--list-courses", "C  "}) {
            EXPECT_NE(options.message().find(item), std::string::npos) << item;
        }
    }
    const Options version = parse({"--version"});
    EXPECT_EQ(version.exitStatus(), 0);
    EXPECT_TRUE(std::regex_match(version.message(), std::regex("skyrings [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.message();

    // A game to play, the autopilot flying with --demo; a course by name, with or without the
    // autopilot, in either order; the list of courses on request.
    const struct {
        std::vector<const char*> arguments;
        const char* course;
        bool demo;
        bool list;
    } cases[] = {
        {{}, "", false, false},
        {{"--demo"}, "", true, false},
        {{"--course", "coast"}, "coast", false, false},
        {{"--course=slalom", "--demo"}, "slalom", true, false},
        {{"--demo", "--course", "mountain"}, "mountain", true, false},
        {{"--list-courses"}, "", false, true},
    };
    for (const auto& good : cases) {
        const Options options = parse(good.arguments);
        EXPECT_FALSE(options.exitStatus()) << options.message();
        EXPECT_EQ(options.course(), good.course);
        EXPECT_EQ(options.demo(), good.demo);
        EXPECT_EQ(options.listCourses(), good.list);
    }
    const Options recording = parse({"--record-course", "my ridge", "--island", "coast"});
    EXPECT_FALSE(recording.exitStatus()) << recording.message();
    EXPECT_EQ(recording.recordCourse() + "/" + recording.island(), "my ridge/coast");
    const Options files = parse({"--check-course", "a.json", "--course-file", "b.json"});
    EXPECT_EQ(files.checkCourse() + "/" + files.courseFile(), "a.json/b.json");
}

// A wrong command line: status 2 and one usage line naming what was wrong
TEST(Options, MistakesGiveOneUsageLineAndStatusTwo) {
    const struct {
        std::vector<const char*> arguments;
        const char* named;
    } cases[] = {
        {{"--fly"}, "--fly"},              // unknown option
        {{"--demo", "-x"}, "-x"},          // unknown after a good one
        {{"course2"}, "course2"},          // a stray word
        {{"--demo", "--demo"}, "--demo"},  // repeated
        {{"--demo=maybe"}, "--demo"},      // a switch given a word that is no yes or no
        {{"--course"}, "--course"},        // no name
        {{"--course", "coast", "--course", "slalom"}, "--course"},  // repeated
        {{"--list-courses", "--list-courses"}, "--list-courses"},
        {{"--course", "Coast"}, "mountain,coast,slalom"},  // unknown (names are exact): the valid ones
        {{"--demo", "--course", ""}, "mountain,coast,slalom"},
        {{"--record-course", "ridge"}, "--island"},  // the two go together
        {{"--island", "coast"}, "--island"},
        {{"--record-course", "a/b", "--island", "coast"}, "--record-course"},
        {{"--record-course", "ridge", "--island", "moon"}, "mountain,coast,slalom"},
        {{"--check-course"}, "--check-course"},
    };
    for (const auto& mistake : cases) {
        const Options options = parse(mistake.arguments);
        EXPECT_EQ(options.exitStatus(), Options::kUsageError) << mistake.named;
        const std::string& line = options.message();
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_NE(line.find(mistake.named), std::string::npos) << line;
        EXPECT_NE(line.find("Usage: skyrings"), std::string::npos) << line;
        EXPECT_NE(line.find("[--demo]"), std::string::npos) << line;
    }
}
