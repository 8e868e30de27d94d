// The real game on the virtual display: keyboard commands, the countdown, the HUD and a crash; and without
// a display. Starting at a configured size and quitting on Escape are checked with every kind of config
// file in the hardening tests.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/Picture.h"

using testsupport::GameProcess;
using testsupport::Picture;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Lines printed after the start-up messages: the key commands' lines, and the triangle count (a
// number and a blank) as "<count>".
std::vector<std::string> commandLines(const std::string& out) {
    std::vector<std::string> result;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        if (std::regex_match(line, std::regex("[1-9][0-9]* "))) {
            result.push_back("<count>");
        } else if (line.rfind("Debug:  ", 0) == 0) {
            result.push_back(line);
        }
    }
    return result;
}

// Takes screenshots of the game until one satisfies `wanted` (or the time is up) and returns the last.
Picture waitForShot(GameProcess& game, const std::string& name,
                    const std::function<bool(const Picture&)>& wanted) {
    const auto path = game.runDir() / (name + ".png");
    std::optional<Picture> shot;
    GameProcess::waitUntil(
        [&] {
            game.screenshot(path);
            shot.emplace(path);
            return (shot->valid() && wanted(*shot)) || !game.running();
        },
        std::chrono::seconds(240), std::chrono::milliseconds(500));
    return *shot;
}

}  // namespace

// One run at 800 x 600. Every command key is pressed an even number of times, so the game ends the
// sequence as it began, restarted by the last key: the countdown, the HUD and the crash follow from there.
TEST(Gameplay, EveryCommandKeyPrintsItsLinesThenCountdownHudAndACrashIntoTheGround) {
    GameProcess game({std::string("WIDTH\n800\nHEIGHT\n600\n"), true, true});
    ASSERT_TRUE(game.startDrawing());
    for (const char* key : {"F2", "F3", "F4",  "F5", "F6", "F7", "F8", "F9", "F10", "r",  "n", "F5",
                            "F5", "F3", "F10", "F9", "F8", "F7", "F6", "F4", "F2",  "F1", "n", "shift+r"}) {
        game.key(key);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    ASSERT_TRUE(game.waitForOutput("Debug:  Guidance ON\nDebug:  Restart Game.\n")) << game.out();

    // The window sits at the top-left corner of the virtual screen; rows count from the top. The game
    // runs on clamped frame time, so on a slow machine its seconds last longer: wait for what shows.
    auto digitShare = [](const Picture& s) { return s.brightShare(360, 220, 80, 80); };
    const Picture countdown =
        waitForShot(game, "countdown", [&](const Picture& s) { return digitShare(s) > 0.15; });
    ASSERT_GT(digitShare(countdown), 0.15) << "no countdown digit in the centre";
    const Picture flying = waitForShot(
        game, "flying", [&](const Picture& s) { return digitShare(s) < digitShare(countdown) - 0.1; });
    ASSERT_LT(digitShare(flying), digitShare(countdown) - 0.1) << "the countdown never ended";

    // The dial fills the lower-right 256 x 256 square and the score icon the lower left, whatever
    // the scene behind them does.
    EXPECT_LT(countdown.meanDifference(flying, kWidth - 256 + 60, kHeight - 256 + 60, 136, 136), 30.0);
    EXPECT_LT(countdown.meanDifference(flying, 14, kHeight - 143 + 30, 30, 60), 30.0);

    // Hold the nose down: the craft dives into the ground and the game is over.
    game.key("Up", "keydown");
    // "GAME OVER": nine 50-pixel glyphs from x = 175, between 300 and 350 pixels above the bottom.
    auto gameOverShare = [](const Picture& s) { return s.brightShare(175, kHeight - 350, 450, 50); };
    const Picture crashed =
        waitForShot(game, "crashed", [&](const Picture& s) { return gameOverShare(s) > 0.1; });
    game.key("Up", "keyup");
    EXPECT_GT(gameOverShare(crashed), 0.1) << "no GAME OVER";
    EXPECT_TRUE(game.quit());

    // Only the command keys print lines after the start-up messages.
    const std::vector<std::string> expected = {
        "Debug:  Show FPS",
        "Debug:  WireframeMode ON",
        "<count>",
        "Debug:  Texture filter nearest",
        "Debug:  MipMap filter off",
        "Debug:  Debug HUD on",
        "Debug:  Blur off",
        "Debug:  Frustum Culling OFF",
        "Debug:  Transparency OFF",
        "Debug:  Show DepthMapFrustums ON",
        "Debug:  Restart Game.",
        "Debug:  Guidance OFF",
        "Debug:  MipMap filter nearest",
        "Debug:  MipMap filter linear",
        "Debug:  WireframeMode OFF",
        "Debug:  Show DepthMapFrusutms OFF",
        "Debug:  Transparency ON",
        "Debug:  Frustum Culling ON",
        "Debug:  Blur on",
        "Debug:  Debug HUD off",
        "Debug:  Texture filter bilinear",
        "Debug:  Remove FPS",
        "Debug:  Guidance ON",
        "Debug:  Restart Game.",
    };
    EXPECT_EQ(commandLines(game.out()), expected) << game.out();
}

TEST(AppShell, WithoutADisplayGlfwFailsWithStatus255) {
    GameProcess game({std::nullopt, false, true});
    game.start();
    EXPECT_EQ(game.waitForExit(), 255);
    EXPECT_EQ(game.err(), "Failed to initialize GLFW\n");
    EXPECT_EQ(game.out(), "Debug: Renderer created\n");
}
