// Course files players write: what the check refuses, one line per problem naming the ring at fault,
// what it lets through at its limits, and the catalogue they join.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/CourseCatalogue.h"
#include "course/CourseCheck.h"
#include "course/CourseFile.h"
#include "course/PlayerCourses.h"
#include "tests/support/TestFiles.h"

using common::app::CourseCatalogue;
using common::course::CourseCheck;
using common::course::CourseFile;
using common::course::CourseVerdict;
using common::course::PlayerCourses;
using nlohmann::json;

namespace {

// Three rings down the coast's first valley: the autopilot flies it in a few seconds.
json shortCourse() {
    return json::parse(R"({"format": "skyrings-course", "version": 1, "name": "short hop", "island": "coast",
        "start": {"position": [38, 156, -440], "direction": [0, 0, 1]},
        "rings": [{"position": [38, 130, -400], "direction": [0, -0.48, 0.88]},
                  {"position": [38, 120, -374], "direction": [0, -0.36, 0.93]},
                  {"position": [38, 110, -348], "direction": [0, -0.36, 0.93], "finish": true}]})");
}

CourseVerdict checked(const std::string& text) {
    const CourseCheck check(CourseCatalogue::load().courses());
    return check.check(CourseFile::parse(text));
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

}  // namespace

// Each kind of problem alone on an otherwise good course: the check names it, and the ring at fault.
TEST(CourseCheck, RefusesEachProblemWithOneLineNamingTheRing) {
    const struct {
        const char* what;
        std::function<void(json&)> spoil;
        const char* line;
    } cases[] = {
        {"wrong format", [](json& c) { c["format"] = "skyrings-track"; },
         "\"format\" is not \"skyrings-course\""},
        {"wrong version", [](json& c) { c["version"] = 2; }, "\"version\" is not 1"},
        {"unknown island", [](json& c) { c["island"] = "atlantis"; },
         "unknown island \"atlantis\" (islands: mountain, coast, slalom, marathon)"},
        {"no rings", [](json& c) { c["rings"] = json::array(); }, "no rings"},
        {"501 rings",
         [](json& c) {
             c["rings"] = json::array();
             for (int i = 0; i < 501; ++i)
                 c["rings"].push_back(shortCourse()["rings"][0]);
         },
         "501 rings, more than 500"},
        {"no finish", [](json& c) { c["rings"][2].erase("finish"); }, "no finish ring"},
        {"finish not last",
         [](json& c) {
             c["rings"][1]["finish"] = true;
             c["rings"][2].erase("finish");
         },
         "ring 2: the finish ring is not the last"},
        {"two finishes", [](json& c) { c["rings"][1]["finish"] = true; }, "ring 3: a second finish ring"},
        {"text for a position", [](json& c) { c["rings"][0]["position"] = "here"; },
         "ring 1: \"position\" is not a list of three finite numbers"},
        {"two numbers",
         [](json& c) {
             c["rings"][1]["direction"] = {1, 0};
         },
         "ring 2: \"direction\" is not a list of three finite numbers"},
        {"finish not boolean", [](json& c) { c["rings"][1]["finish"] = 1; },
         "ring 2: \"finish\" is not true or false"},
        {"name not text", [](json& c) { c["name"] = 7; }, "\"name\" is not text"},
        {"name with a slash", [](json& c) { c["name"] = "a/b"; }, "\"name\" must be 1-40 letters"},
        {"name of 41", [](json& c) { c["name"] = std::string(41, 'x'); }, "\"name\" must be 1-40 letters"},
        {"start without position", [](json& c) { c["start"].erase("position"); }, "start: no \"position\""},
        {"zero direction",
         [](json& c) {
             c["rings"][0]["direction"] = {0, 0, 0};
         },
         "ring 1: \"direction\" is zero"},
        {"start straight down",
         [](json& c) {
             c["start"]["direction"] = {0, -1, 0};
         },
         "start: \"direction\" has no horizontal part"},
        {"ring off the map", [](json& c) { c["rings"][1]["position"][0] = -80; },
         "ring 2: outside the island's map"},
        {"start off the map", [](json& c) { c["start"]["position"][2] = -600; },
         "start: outside the island's map"},
        {"ring in the sea", [](json& c) { c["rings"][0]["position"][1] = 12; }, "ring 1: its circle comes"},
        {"finish circle in the ground", [](json& c) { c["rings"][2]["position"][1] = 22; },
         "ring 3: its circle comes"},
        {"rings too close",
         [](json& c) {
             c["rings"][1]["position"] = {38, 126, -392};
         },
         "ring 2: 8.9 units from ring 1, less than 10"},
        {"ring behind the start",
         [](json& c) {
             c["rings"][1]["position"] = {38, 150, -470};
         },
         "ring 2: the autopilot cannot fly the course: it misses this ring"},
    };
    for (const auto& problem : cases) {
        json course = shortCourse();
        problem.spoil(course);
        const CourseVerdict verdict = checked(course.dump());
        ASSERT_EQ(verdict.problems.size(), 1u) << problem.what << "\n" << joined(verdict.problems);
        EXPECT_EQ(verdict.problems[0].rfind(problem.line, 0), 0u)
            << problem.what << ": " << verdict.problems[0];
    }
    EXPECT_EQ(checked("{\"format\": ").problems, std::vector<std::string>{"not JSON"});
    EXPECT_EQ(checked("[1, 2]").problems, std::vector<std::string>{"not a JSON object"});
}

// Valid at the limits: a 40-character name of every allowed kind, rings exactly 10 apart, directions
// of any length, the start's direction left out (+z). The verdict carries the autopilot's par.
TEST(CourseCheck, AcceptsCoursesAtTheLimitsWithTheAutopilotsPar) {
    json course = shortCourse();
    course["name"] = "Ab9 -_" + std::string(34, 'z');
    course["start"].erase("direction");
    course["rings"][1]["position"] = {38, 124, -392};  // 10 from ring 1 ((6, 8) in y and z)
    course["rings"][1]["direction"] = {0, -3.6, 9.3};
    const CourseVerdict verdict = checked(course.dump());
    EXPECT_EQ(joined(verdict.problems), "");
    EXPECT_EQ(verdict.rings, 3u);
    EXPECT_GT(verdict.par, 3.0);
    EXPECT_LT(verdict.par, 30.0);
    EXPECT_NEAR(verdict.length, std::hypot(26.0, 40.0) + 10.0 + std::hypot(14.0, 44.0), 1e-9);

    // The reader takes 500 rings (the check's flight aside) and a name of one character.
    json many = shortCourse();
    many["name"] = "x";
    many["rings"] = json::array();
    for (int i = 0; i < 500; ++i) {
        many["rings"].push_back(json{{"position", {38, 130, -400 + i}}, {"direction", {0, 0, 1}}});
    }
    many["rings"][499]["finish"] = true;
    EXPECT_EQ(joined(CourseFile::parse(many.dump()).problems()), "");
}

// A rewrite keeps what the game does not know, the course's own values changed; the records' key
// follows the rings and the start, not the keys around them.
TEST(CourseCheck, RewriteKeepsUnknownKeysAndTheRecordKeyFollowsTheRings) {
    json written = shortCourse();
    written["author"] = "ana";
    written["rings"][1]["note"] = "the narrow one";
    CourseFile course = CourseFile::parse(written.dump());
    course.name = "renamed";
    course.rings[0].position.y = 131;
    const json rewritten = json::parse(course.text());
    // A position stays on one line, as a player writes it.
    EXPECT_NE(course.text().find("\"position\": [38.0, 131.0, -400.0]"), std::string::npos) << course.text();
    EXPECT_EQ(rewritten["author"], "ana");
    EXPECT_EQ(rewritten["rings"][1]["note"], "the narrow one");
    EXPECT_EQ(rewritten["name"], "renamed");
    EXPECT_EQ(rewritten["rings"][0]["position"][1], 131.0);
    EXPECT_EQ(rewritten["rings"][2]["finish"], true);

    const std::string key = CourseFile::parse(written.dump()).recordKey();
    written["author"] = "bo";
    EXPECT_EQ(CourseFile::parse(written.dump()).recordKey(), key);
    EXPECT_EQ(key.rfind("short hop#", 0), 0u) << key;
    written["rings"][2]["position"][0] = 39;
    EXPECT_NE(CourseFile::parse(written.dump()).recordKey(), key);
    written = shortCourse();
    written["start"]["position"][1] = 157;
    EXPECT_NE(CourseFile::parse(written.dump()).recordKey(), key);
}

// The player's folder joins the catalogue after the shipped courses, in file-name order; a file that
// fails, or takes a shipped course's name, is left out with one line naming the file.
TEST(CourseCheck, PlayerCoursesJoinTheCatalogueAfterTheShippedOnes) {
    testsupport::TempDir folder;
    json course = shortCourse();
    folder.write("b.json", course.dump());
    course["name"] = "coast";
    folder.write("a.json", course.dump());
    course["name"] = "other";
    course["rings"][0]["direction"] = {0, 0, 0};
    folder.write("c.json", course.dump());
    folder.write("notes.txt", "not a course");
    CourseCatalogue catalogue = CourseCatalogue::load();
    const std::size_t shipped = catalogue.courses().size();
    std::vector<std::string> warnings;
    PlayerCourses::join(catalogue, folder.path(), [&](const std::string& line) { warnings.push_back(line); });
    ASSERT_EQ(catalogue.courses().size(), shipped + 1);
    const common::scene::CourseInfo& added = catalogue.courses().back();
    EXPECT_EQ(added.name, "short hop");
    EXPECT_EQ(added.heightMapPath, catalogue.find("coast")->heightMapPath);
    ASSERT_NE(added.playerCourse, nullptr);
    EXPECT_EQ(added.playerCourse->rings.size(), 3u);
    EXPECT_TRUE(added.playerCourse->rings.back().finish);
    EXPECT_NE(added.recordName(), added.name);
    ASSERT_EQ(warnings.size(), 2u) << joined(warnings);
    EXPECT_EQ(warnings[0].rfind((folder.path() / "a.json").string() + ": the name \"coast\"", 0), 0u)
        << warnings[0];
    EXPECT_EQ(warnings[1].rfind((folder.path() / "c.json").string() + ": ring 1:", 0), 0u) << warnings[1];

    EXPECT_EQ(PlayerCourses::folderFor("/x", "/home/p"), "/x/skyrings/courses");
    EXPECT_EQ(PlayerCourses::folderFor("", "/home/p"), "/home/p/.local/share/skyrings/courses");
    EXPECT_EQ(PlayerCourses::folderFor(nullptr, nullptr), "");
}
