#include "game/GamePhase.h"

#include <gtest/gtest.h>

#include <vector>

using common::scene::GamePhase;

// The gate through a whole game: one warm-up update, frozen during the countdown, then every frame
// until a crash or the finish screen.
TEST(GamePhase, WarmUpCountdownFlightAndFreeze) {
    GamePhase phase;
    EXPECT_TRUE(phase.sceneAdvances(true));
    phase.sceneAdvanced();
    EXPECT_FALSE(phase.sceneAdvances(true));
    phase.countdownDrawn(false);
    EXPECT_FALSE(phase.sceneAdvances(true));
    phase.countdownDrawn(true);
    EXPECT_TRUE(phase.sceneAdvances(true));
    phase.sceneAdvanced();
    EXPECT_TRUE(phase.sceneAdvances(true));
    EXPECT_FALSE(phase.sceneAdvances(false));
    phase.finishDrawn();
    EXPECT_FALSE(phase.sceneAdvances(true));
}

TEST(GamePhase, RestartGoesBackToTheWarmUpFromEveryPhase) {
    for (int phaseIndex = 0; phaseIndex < 3; ++phaseIndex) {
        GamePhase phase;
        phase.tick(5.0);
        phase.sceneAdvanced();
        if (phaseIndex >= 1) {
            phase.countdownDrawn(true);
        }
        if (phaseIndex == 2) {
            phase.finishDrawn();
        }
        phase.restart();
        EXPECT_TRUE(phase.countdownActive);
        EXPECT_TRUE(phase.warmUpPending);
        EXPECT_FALSE(phase.finishShown);
        EXPECT_EQ(phase.countdownTimer, 0.0f);
        EXPECT_TRUE(phase.sceneAdvances(true));
    }
}

TEST(GamePhase, TheTimerSumsFrameTimesInFloat) {
    GamePhase phase;
    for (int i = 0; i < 100; ++i) {
        phase.tick(0.039999999105930328);
    }
    EXPECT_NEAR(phase.countdownTimer, 4.0f, 1e-4f);
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

// The race clock counts the steps the scene advances once the countdown is over.
TEST(GamePhase, TheRaceClockStartsWhenTheCountdownEnds) {
    GamePhase phase;
    phase.sceneAdvanced(0.25);  // the warm-up
    phase.countdownDrawn(true);
    phase.sceneAdvanced(0.5);
    phase.sceneAdvanced(0.25);
    EXPECT_EQ(phase.raceTime, 0.75);
    phase.restart();
    EXPECT_EQ(phase.raceTime, 0.0);
}
