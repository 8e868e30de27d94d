// The game's window resized by the window system: the picture fills the new size.

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/GameProcess.h"
#include "tests/support/Picture.h"

using testsupport::GameProcess;
using testsupport::Picture;

TEST(Window, AResizedWindowIsFilledToItsNewCorners) {
    GameProcess game({"WIDTH\n320\nHEIGHT\n240\n", true, true});
    ASSERT_TRUE(game.startDrawing());
    testsupport::runCommand("xdotool windowsize " + game.waitForWindow() + " 480 360");
    // The top right of the new size (the window sits at the screen's top-left corner) shows the sky,
    // and the altimeter dial sits in the new bottom-right corner.
    const auto shotPath = game.runDir() / "resized.png";
    bool filled = false;
    GameProcess::waitUntil(
        [&] {
            game.screenshot(shotPath);
            const Picture shot(shotPath);
            filled = shot.valid() && shot.brightShare(400, 10, 70, 50, 20) > 0.9 &&
                     shot.brightShare(470, 350, 8, 8, 20) > 0.5 &&
                     shot.brightShare(490, 10, 40, 40, 1) == 0.0;
            return filled;
        },
        std::chrono::seconds(60), std::chrono::milliseconds(500));
    EXPECT_TRUE(filled) << "see " << shotPath;
    EXPECT_EQ(game.windowSize(), "480x360");
    EXPECT_TRUE(game.quit());
}
