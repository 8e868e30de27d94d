// The time trial in the real game, in this process: the autopilot flies as a player would and its
// runs go into the records file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <nlohmann/json.hpp>

#include "app/Renderer.h"
#include "game/Autopilot.h"
#include "game/Player.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"
#include "tests/support/InProcessGame.h"
#include "tests/support/TestFiles.h"

using common::app::Renderer;
using common::scene::GameEventType;
using common::scene::SceneController;
using nlohmann::json;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// The main loop's clamped step: the longest the game takes, so the fewest updates per run.
constexpr double kStep = double(0.04f);

class TimeTrialInGame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        testsupport::capturedStdout([] { testsupport::startGameInProcess(kWidth, kHeight); });
    }

    // A new game flown by the autopilot in the player's place (its runs are recorded as the player's);
    // the scene is drawn only while the countdown needs it. Returns the time of the finish.
    double flyCourse() {
        renderer.session().setAutopilot(true);
        testsupport::capturedStdout([this] { renderer.onKey(GLFW_KEY_R, GLFW_PRESS); });
        testsupport::runFrame(renderer, kStep);
        while (renderer.phase().countdownTimer <= 4.0f) {
            renderer.update(kStep);
        }
        renderer.draw();  // the countdown is over once it has been drawn past its end
        for (int frame = 0; frame < 10000 && scene.running; ++frame) {
            renderer.update(kStep);
            for (const auto& event : renderer.events()) {
                if (event.type == GameEventType::Finished) {
                    return event.time;
                }
            }
        }
        ADD_FAILURE() << "the autopilot did not finish";
        return 0.0;
    }

    static json records() {
        std::ifstream in(testsupport::inProcessRecordsFile());
        return json::parse(in, nullptr, false);
    }
    static void writeRecords(const json& document) {
        std::ofstream(testsupport::inProcessRecordsFile()) << document.dump();
    }

    Renderer& renderer = Renderer::instance();
    SceneController& scene = SceneController::instance();
};

}  // namespace

// The first finish writes the record with its splits and ghost; a faster run replaces it.
TEST_F(TimeTrialInGame, TheAutopilotFlyingAsThePlayerSetsRecordsOnlyFasterRunsReplace) {
    std::filesystem::remove(testsupport::inProcessRecordsFile());
    const double first = flyCourse();
    ASSERT_GT(first, 10.0);
    json document = records();
    json& course = document["courses"]["mountain"];
    ASSERT_TRUE(course.is_object()) << document.dump();
    EXPECT_DOUBLE_EQ(course["bestTime"].get<double>(), first);
    EXPECT_EQ(course["splits"].size(), scene.gameRules().ringCount());
    EXPECT_GE(course["ghost"].size(), std::size_t(20 * first));
    EXPECT_TRUE(renderer.timeTrial().summary()->newBest);

    // The record now claims a second more, read afresh when the course is loaded again: the same flight
    // is faster and replaces it. (A slower run leaving the record alone is the time trial's own rule:
    // TimeTrialTest.)
    course["bestTime"] = first + 1.0;
    writeRecords(document);
    renderer.setCourse(renderer.course());
    const double third = flyCourse();
    EXPECT_TRUE(renderer.timeTrial().summary()->newBest);
    EXPECT_DOUBLE_EQ(records()["courses"]["mountain"]["bestTime"].get<double>(), third);
}
