// The course recorder flown by the autopilot in process: a ring dropped at every ring it takes on a
// shipped course, the finish where it finishes, makes a course the check accepts with about the same par.

#include <gtest/gtest.h>

#include <string>

#include "app/CourseCatalogue.h"
#include "course/CourseCheck.h"
#include "course/CourseRecorder.h"
#include "game/Autopilot.h"
#include "game/AutopilotFlight.h"
#include "game/Race.h"
#include "scene/SceneLayout.h"
#include "terrain/HeightMap.h"
#include "tests/support/TestFiles.h"

using common::app::CourseCatalogue;
using common::course::CourseCheck;
using common::course::CourseFile;
using common::course::CourseRecorder;
using common::course::CourseVerdict;
using namespace common::scene;

TEST(CourseRecorder, RingsDroppedWhereTheAutopilotFliesMakeACourseTheCheckAccepts) {
    const CourseCatalogue catalogue = CourseCatalogue::load();
    const CourseInfo& coast = *catalogue.find("coast");
    HeightMap ground;
    ground.load(HeightMap::kCourseMaxHeight, coast.heightMapPath);
    Race race(SceneLayout::readRaceCourse(coast.scenePath), &ground);
    Autopilot pilot(race.course().ringTransforms());
    CourseRecorder recorder("recorded coast", "coast", race.course().start);
    // A stray ring and a take-back before the flight leave nothing behind.
    recorder.drop(race.craft());
    EXPECT_TRUE(recorder.removeLast());
    EXPECT_FALSE(recorder.removeLast());
    std::size_t taken = 0;
    const FlightResult flown =
        AutopilotFlight::fly(race, pilot, AutopilotFlight::kParStep, AutopilotFlight::kTimeLimit, [&] {
            const std::size_t next = race.rules().nextRing().value_or(race.course().rings.size());
            for (; taken < next && next < race.course().rings.size(); ++taken) {
                recorder.drop(race.craft());
            }
            return false;
        });
    ASSERT_TRUE(flown.finished);
    EXPECT_EQ(recorder.rings(), race.course().rings.size() - 1);
    const CourseFile recorded = recorder.finish(race.craft());
    // Each ring where the craft took the shipped one, facing the way the craft flew through it.
    for (std::size_t i = 0; i < recorded.rings.size(); ++i) {
        const glm::mat4& shipped = race.course().rings[i].transform;
        EXPECT_LT(glm::distance(recorded.rings[i].position, glm::dvec3(shipped[3])), 9.0) << i;
        EXPECT_GT(
            glm::dot(glm::normalize(recorded.rings[i].direction), glm::normalize(glm::dvec3(shipped[1]))),
            0.97)
            << i;
    }

    testsupport::TempDir folder;
    const auto path = CourseRecorder::save(recorded, folder.path() / "skyrings" / "courses");
    EXPECT_EQ(path.filename(), "recorded coast.json");
    const CourseVerdict verdict = CourseCheck(catalogue.courses()).check(CourseFile::readFile(path.string()));
    ASSERT_TRUE(verdict.playable()) << verdict.problems.front();
    EXPECT_EQ(verdict.rings, race.course().rings.size());
    EXPECT_NEAR(verdict.par, coast.par, coast.par * 0.1);

    // A crash goes back to the last ring dropped, level, facing the way the craft flew through it.
    const glm::mat4 back = recorder.restartPose();
    EXPECT_NEAR(glm::distance(glm::dvec3(back[3]), recorded.rings[recorded.rings.size() - 2].position), 0.0,
                1e-3);
    EXPECT_NEAR(back[2].y, 0.0f, 1e-6f);
    EXPECT_GT(glm::dot(glm::dvec3(back[2]), recorded.rings[recorded.rings.size() - 2].direction), 0.0);
}
