// The time trial in the real game on the virtual display: P freezes the picture and shows "Paused",
// while a bad records file costs the records only.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/GameProcess.h"
#include "tests/support/Picture.h"

using testsupport::GameProcess;
using testsupport::Picture;

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;

Picture shot(GameProcess& game, const std::string& name) {
    const auto path = game.runDir() / (name + ".png");
    game.screenshot(path);
    return Picture(path);
}

double difference(const Picture& a, const Picture& b) {
    return a.meanDifference(b, 0, 0, kWidth, kHeight);
}

}  // namespace

// Once the clock runs the picture changes from shot to shot until P holds it: two shots a second
// apart are then the same, with "Paused" two thirds up the window. P again and the flight goes on.
// A records file that is not JSON costs one line on standard error and the records only: the game
// runs and quits with 0, and the file is left as it was (nothing replaced it).
TEST(TimeTrialGame, PFreezesThePictureAndShowsPausedWithABadRecordsFile) {
    GameProcess game({"WIDTH\n480\nHEIGHT\n360\n", true, true, "--demo"});  // kWidth x kHeight
    const std::filesystem::path records = game.dataDir() / "skyrings" / "records.json";
    std::filesystem::create_directories(records.parent_path());
    { std::ofstream(records) << "{\"version\": 1, \"courses\": "; }
    ASSERT_TRUE(game.startDrawing());
    // The clock in the upper-right corner counts once the countdown is over: it changes between three
    // shots in a row (the first shot may still catch the window before its first frame).
    Picture before = shot(game, "before");
    int changes = 0;
    ASSERT_TRUE(GameProcess::waitUntil(
        [&] {
            Picture next = shot(game, "flying");
            const bool counting = before.meanDifference(next, kWidth - 250, 0, 240, 60) > 1.0;
            before = next;
            changes = counting ? changes + 1 : 0;
            return changes >= 2;
        },
        std::chrono::seconds(60), std::chrono::milliseconds(300)))
        << "the clock never ran";

    game.key("p");
    ASSERT_TRUE(game.waitForOutput("Debug:  Pause ON\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Picture paused = shot(game, "paused");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Picture later = shot(game, "paused-later");
    EXPECT_EQ(difference(paused, later), 0.0);
    // "Paused": 6 glyphs of 50 pixels centred, 50 pixels high, its foot at two thirds of the height.
    const int textTop = kHeight - kHeight * 2 / 3 - 50;
    EXPECT_GT(paused.brightShare(kWidth / 2 - 150, textTop, 300, 50),
              before.brightShare(kWidth / 2 - 150, textTop, 300, 50) + 0.05);

    game.key("p");
    ASSERT_TRUE(game.waitForOutput("Debug:  Pause OFF\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_GT(difference(later, shot(game, "resumed")), 1.0);
    EXPECT_TRUE(game.quit());
    EXPECT_NE(game.err().find("Records: " + records.string() + ": not a JSON object"), std::string::npos)
        << game.err();
    EXPECT_EQ(testsupport::readFile(records), "{\"version\": 1, \"courses\": ");
}
