#include "app/CourseCatalogue.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/TestFiles.h"

using common::app::CourseCatalogue;
using common::scene::CourseInfo;

namespace {

const char* const kTwoCourses = R"({"courses": [
    {"name": "mountain", "scene": "meshes/m.dae", "heightmap": "meshes/h.bmp", "length": 812.4,
     "rings": 9, "par": 96.25},
    {"name": "coast", "scene": "courses/coast/scene.dae", "heightmap": "courses/coast/heightmap.bmp",
     "length": 1200, "rings": 14, "par": 130.5}]})";

CourseCatalogue readText(const std::string& text) {
    std::istringstream in(text);
    return CourseCatalogue::read(in, "../resources");
}

// Only the default course, from its built-in paths, and a reason.
void expectFallback(const CourseCatalogue& catalogue, const std::string& what) {
    EXPECT_NE(catalogue.problem(), "") << what;
    EXPECT_EQ(catalogue.problem().find('\n'), std::string::npos) << catalogue.problem();
    ASSERT_EQ(catalogue.courses().size(), 1u) << what;
    const CourseInfo& course = catalogue.courses().front();
    EXPECT_EQ(course.name, "mountain");
    EXPECT_EQ(course.scenePath, "../resources/meshes/low_res_Mountain/mountain_player.dae");
    EXPECT_EQ(course.heightMapPath, "../resources/meshes/heightmap.bmp");
    EXPECT_EQ(course.par, 0.0);
}

}  // namespace

TEST(CourseCatalogue, ReadsCoursesInOrderWithPathsBelowTheResources) {
    const CourseCatalogue catalogue = readText(kTwoCourses);
    EXPECT_EQ(catalogue.problem(), "");
    ASSERT_EQ(catalogue.courses().size(), 2u);
    const CourseInfo& coast = catalogue.courses()[1];
    EXPECT_EQ(coast.name, "coast");
    EXPECT_EQ(coast.scenePath, "../resources/courses/coast/scene.dae");
    EXPECT_EQ(coast.heightMapPath, "../resources/courses/coast/heightmap.bmp");

    // Next course in order, wrapping; an unknown name starts from the first.
    EXPECT_EQ(catalogue.next("mountain").name, "coast");
    EXPECT_EQ(catalogue.next("coast").name, "mountain");
    EXPECT_EQ(catalogue.next("nowhere").name, "mountain");
    EXPECT_EQ(catalogue.find("Coast"), nullptr);
    EXPECT_EQ(catalogue.names(), "mountain, coast");
    EXPECT_EQ(catalogue.listing(),
              "mountain     9 rings    812 units  par 96.25 s\n"
              "coast       14 rings   1200 units  par 130.50 s\n");
}

TEST(CourseCatalogue, ABadListOrFileGivesTheDefaultCourseAndAGoodFileItsOwnPaths) {
    const std::string goodEntry = R"("scene": "s.dae", "heightmap": "h.bmp", "length": 5, "rings": 2)";
    const auto withNumbers = [](const std::string& numbers) {
        return R"({"courses": [{"name": "a", "scene": "s.dae", "heightmap": "h.bmp", )" + numbers + "}]}";
    };
    const struct {
        const char* what;
        std::string text;
        const char* named = "";  // the field the problem names
    } cases[] = {
        {"empty", ""},
        {"not JSON", "courses: mountain"},
        {"cut off", std::string(kTwoCourses).substr(0, 120)},
        {"no list", R"({"course": []})"},
        {"an empty list", R"({"courses": []})"},
        {"a list of names", R"({"courses": ["mountain"]})"},
        {"no par", R"({"courses": [{"name": "a", )" + goodEntry + "}]}"},
        {"a par that is text", R"({"courses": [{"name": "a", "par": "90", )" + goodEntry + "}]}"},
        {"a zero par", R"({"courses": [{"name": "a", "par": 0, )" + goodEntry + "}]}"},
        {"no name", R"({"courses": [{"par": 9, )" + goodEntry + "}]}"},
        {"an empty name", R"({"courses": [{"name": "", "par": 9, )" + goodEntry + "}]}"},
        {"a name twice", R"({"courses": [{"name": "a", "par": 9, )" + goodEntry +
                             R"(}, {"name": "a", "par": 9, )" + goodEntry + "}]}"},
        // Counts an int cannot hold, parts of a ring, lengths below zero
        {"rings beyond an int", withNumbers(R"("rings": 1e10, "length": 5, "par": 9)"), "\"rings\""},
        {"one ring too many for an int", withNumbers(R"("rings": 2147483648, "length": 5, "par": 9)"),
         "\"rings\""},
        {"half a ring", withNumbers(R"("rings": 2.5, "length": 5, "par": 9)"), "\"rings\""},
        {"negative rings", withNumbers(R"("rings": -3, "length": 5, "par": 9)"), "\"rings\""},
        {"a negative length", withNumbers(R"("rings": 2, "length": -1e10, "par": 9)"), "\"length\""},
    };
    for (const auto& bad : cases) {
        const CourseCatalogue catalogue = readText(bad.text);
        expectFallback(catalogue, bad.what);
        EXPECT_NE(catalogue.problem().find(bad.named), std::string::npos)
            << bad.what << ": " << catalogue.problem();
    }
    // The largest count an int holds is still a count.
    const CourseCatalogue most = readText(withNumbers(R"("rings": 2147483647, "length": 1e300, "par": 9)"));
    ASSERT_EQ(most.problem(), "");
    EXPECT_EQ(most.courses().front().rings, 2147483647);
    EXPECT_EQ(CourseCatalogue::builtIn().listing(), "mountain   rings, length and par unknown\n");

    // From a file, missing or damaged.
    testsupport::TempDir dir;
    const CourseCatalogue missing = CourseCatalogue::load((dir.path() / "courses.json").string());
    expectFallback(missing, "missing");
    EXPECT_NE(missing.problem().find("courses.json"), std::string::npos) << missing.problem();

    const CourseCatalogue damaged = CourseCatalogue::load(dir.write("courses/courses.json", "{").string());
    expectFallback(damaged, "damaged");

    // Paths in the file are relative to the folder above its own.
    const CourseCatalogue good =
        CourseCatalogue::load(dir.write("res/courses/courses.json", kTwoCourses).string());
    ASSERT_EQ(good.courses().size(), 2u) << good.problem();
    EXPECT_EQ(good.courses()[0].scenePath, (dir.path() / "res/meshes/m.dae").string());
}
