#include "game/GamePhase.h"

#include <gtest/gtest.h>

#include <vector>

using common::scene::GamePhase;

namespace {

// A restart, from whatever phase, goes back to the warm-up of a new game.
void expectARestartGoesBackToTheWarmUp(GamePhase phase) {
    phase.restart();
    EXPECT_TRUE(phase.countdownActive && phase.warmUpPending && !phase.finishShown);
    EXPECT_EQ(phase.countdownTimer, 0.0f);
    EXPECT_TRUE(phase.sceneAdvances(true));
}

}  // namespace

// The gate through a whole game: one warm-up update, frozen during the countdown, then every frame
// until a crash or the finish screen; a restart from each phase.
TEST(GamePhase, WarmUpCountdownFlightAndFreeze) {
    GamePhase phase;
    phase.tick(5.0);
    EXPECT_TRUE(phase.sceneAdvances(true));
    phase.sceneAdvanced();
    EXPECT_FALSE(phase.sceneAdvances(true));
    expectARestartGoesBackToTheWarmUp(phase);
    phase.countdownDrawn(false);
    EXPECT_FALSE(phase.sceneAdvances(true));
    phase.countdownDrawn(true);
    EXPECT_TRUE(phase.sceneAdvances(true));
    expectARestartGoesBackToTheWarmUp(phase);
    phase.sceneAdvanced();
    EXPECT_TRUE(phase.sceneAdvances(true));
    EXPECT_FALSE(phase.sceneAdvances(false));
    phase.finishDrawn();
    EXPECT_FALSE(phase.sceneAdvances(true));
    expectARestartGoesBackToTheWarmUp(phase);
}

// Each number of the countdown is reported once, as it appears; a restart starts again from 3, even
// one while 3 still shows.
TEST(GamePhase, EachCountdownNumberIsReportedOnceAsItAppears) {
    GamePhase phase;
    std::vector<int> numbers;
    auto tick = [&](double dt) {
        for (const auto& event : phase.tick(dt)) {
            EXPECT_EQ(event.type, common::scene::GameEventType::CountdownTick);
            numbers.push_back(event.index);
        }
    };
    tick(0.5);
    phase.restart();
    for (int frame = 0; frame < 9; ++frame) {
        tick(0.5);
    }
    phase.countdownDrawn(true);
    tick(0.5);
    EXPECT_EQ(numbers, (std::vector<int>{3, 3, 2, 1, 0}));
}

// The race clock counts the steps the scene advances once the countdown is over. Pausing holds the
// countdown and the race clock, whatever the frames bring; a restart unpauses and clears the clock.
TEST(GamePhase, PauseHoldsTheCountdownAndTheRaceClockUntilResumed) {
    GamePhase phase;
    // The renderer's order within one frame.
    auto frames = [&](int count, double dt) {
        int ticks = 0;
        for (int i = 0; i < count; ++i) {
            ticks += static_cast<int>(phase.tick(dt).size());
            if (phase.sceneAdvances(true)) {
                phase.sceneAdvanced(dt);
            }
            if (phase.countdownActive) {
                phase.countdownDrawn(phase.countdownTimer > 4.0f);
            }
        }
        return ticks;
    };
    frames(3, 0.5);
    EXPECT_TRUE(phase.togglePause());
    EXPECT_EQ(frames(20, 0.5), 0);
    EXPECT_EQ(phase.countdownTimer, 1.5f);
    EXPECT_TRUE(phase.countdownActive);

    EXPECT_FALSE(phase.togglePause());
    frames(6, 0.5);  // the countdown ends in the frame that passes 4 s
    EXPECT_FALSE(phase.countdownActive);
    frames(4, 0.25);
    EXPECT_EQ(phase.raceTime, 1.0);
    phase.togglePause();
    frames(8, 0.25);
    EXPECT_EQ(phase.raceTime, 1.0);
    phase.togglePause();
    frames(2, 0.25);
    EXPECT_EQ(phase.raceTime, 1.5);

    // The finish stops the clock.
    phase.finishDrawn();
    frames(4, 0.25);
    EXPECT_EQ(phase.raceTime, 1.5);

    phase.togglePause();
    phase.restart();
    EXPECT_FALSE(phase.paused);
    EXPECT_EQ(phase.raceTime, 0.0);
    EXPECT_TRUE(phase.sceneAdvances(true));
}
