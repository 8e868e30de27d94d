#include "hud/FrameRateHint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

using common::hud::FrameRateHint;

namespace {

// A stretch of play: its length in wall seconds, its frame rate, whether the race clock runs (not
// the countdown, a pause or an end screen) and whether the quality is above low.
struct Stretch {
    double seconds;
    double fps;
    bool racing = true;
    bool aboveLow = true;
};

// When the hint first showed and for how long in all, playing the stretches in turn.
struct Seen {
    std::optional<double> from;
    double shownFor = 0.0;
};

Seen play(const std::vector<Stretch>& stretches, bool enabled = true) {
    FrameRateHint hint;
    hint.setEnabled(enabled);
    Seen seen;
    double wall = 100.0;
    double race = 0.0;
    for (const Stretch& stretch : stretches) {
        const double step = 1.0 / stretch.fps;
        for (double t = 0.0; t < stretch.seconds; t += step) {
            wall += step;
            // The game's step is clamped: the race clock runs slower than the wall clock.
            race += stretch.racing ? std::min(step, 0.04) : 0.0;
            hint.frame(wall, race, stretch.aboveLow);
            if (hint.shown()) {
                seen.from = seen.from.value_or(wall - 100.0);
                seen.shownFor += step;
            }
        }
    }
    return seen;
}

}  // namespace

TEST(FrameRateHint, AppearsOnceAfterFiveSlowSecondsOfRacingAboveLowQuality) {
    const struct {
        const char* what;
        std::vector<Stretch> play;
        bool enabled;
        std::optional<double> appearsAfter;  // wall seconds, give or take half a second
    } cases[] = {
        {"slow racing", {{8, 15}}, true, 5.0},
        {"slow from the first frame at 10 fps", {{8, 10}}, true, 5.0},
        {"a slow countdown does not count", {{12, 15, false}, {8, 15}}, true, 17.0},
        {"a pause holds the count", {{3, 15}, {10, 15, false}, {3, 15}}, true, 15.0},
        {"a fast stretch starts the count again", {{4, 15}, {2, 60}, {4, 15}}, true, std::nullopt},
        {"fast enough", {{20, 30}}, true, std::nullopt},
        {"already at low quality", {{20, 12, true, false}}, true, std::nullopt},
        {"turned off", {{20, 12}}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = play(c.play, c.enabled);
        ASSERT_EQ(seen.from.has_value(), c.appearsAfter.has_value());
        if (c.appearsAfter) {
            EXPECT_NEAR(*seen.from, *c.appearsAfter, 0.5);
        }
    }
}

// A few seconds of racing on screen, then never again while the game runs, however slow it stays;
// a pause hides it and holds its time.
TEST(FrameRateHint, ShowsForAFewSecondsOfRacingOncePerStart) {
    for (const auto& stretches : {std::vector<Stretch>{{60, 15}}, {{6, 15}, {20, 15, false}, {40, 15}}}) {
        const Seen seen = play(stretches);
        ASSERT_TRUE(seen.from);
        EXPECT_GT(seen.shownFor, 3.0);
        EXPECT_LT(seen.shownFor, 10.0);
    }
    Seen paused = play({{6, 15}, {20, 15, false}});
    EXPECT_LT(paused.shownFor, 1.5);
}

// Centred near the top of any window from 640 x 480 to 2560 x 1440, inside it, readable.
TEST(FrameRateHint, TheLineFitsTheWindow) {
    for (const auto& [width, height] : {std::pair(640, 480), {800, 600}, {1920, 1080}, {2560, 1440}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const auto rect = FrameRateHint::placement(width, height);
        EXPECT_GE(rect.x, 0.0f);
        EXPECT_LE(rect.x + rect.width, float(width));
        EXPECT_NEAR(rect.x + rect.width / 2, width / 2.0f, 1.0f);
        // Under the frame rate, triangle count, clock and split; over the pause text at a third.
        EXPECT_LE(rect.y + rect.height, float(height - 85));
        EXPECT_GT(rect.y, height * 2.0f / 3.0f + 50.0f);
        EXPECT_GE(rect.height, 8.0f);
        EXPECT_EQ(rect.width, rect.height * float(std::strlen(FrameRateHint::kText)));
    }
}
