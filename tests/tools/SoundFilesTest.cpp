// The generated sounds as the game reads them: length, level, pitch and clean ends or loop points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/support/AudioSignal.h"

TEST(SoundFiles, LengthLevelPitchAndEnds) {
    struct Expected {
        const char* name;
        double minSeconds, maxSeconds;
        double minHz, maxHz;  // of the first 100 ms; 0, 0: noise
        bool loop;
    };
    const Expected sounds[] = {
        {"engine.wav", 0.5, 5.0, 40.0, 120.0, true},   {"wind.wav", 1.0, 10.0, 0, 0, true},
        {"chime.wav", 0.3, 2.0, 700.0, 1500.0, false}, {"fanfare.wav", 0.8, 3.0, 400.0, 700.0, false},
        {"crash.wav", 0.5, 3.0, 0, 0, false},          {"beep.wav", 0.05, 0.5, 600.0, 1200.0, false},
        {"go.wav", 0.1, 1.0, 1200.0, 2400.0, false},
    };
    for (const Expected& expected : sounds) {
        SCOPED_TRACE(expected.name);
        const testsupport::AudioSignal signal =
            testsupport::readAudio(std::string("../resources/sounds/") + expected.name);
        const std::vector<float>& x = signal.samples;
        ASSERT_FALSE(x.empty());
        EXPECT_EQ(signal.channels, 1);
        EXPECT_GE(signal.rate, 22050);
        EXPECT_GE(signal.seconds(), expected.minSeconds);
        EXPECT_LE(signal.seconds(), expected.maxSeconds);
        // Loud enough to hear, with headroom below full scale.
        EXPECT_GT(testsupport::peakLevel(x), 0.3f);
        EXPECT_LT(testsupport::peakLevel(x), 0.95f);
        if (expected.maxHz > 0) {
            const double hz = testsupport::fundamental(signal.slice(0.0, 0.1), signal.rate);
            EXPECT_GE(hz, expected.minHz);
            EXPECT_LE(hz, expected.maxHz);
        }
        if (expected.loop) {
            // Played round, the step from the last sample back to the first is like the steps next to
            // it, not a jump, and the level does not change there.
            float nearbyStep = 0.0f;
            for (std::size_t i = 1; i < 100; ++i) {
                nearbyStep = std::max(
                    {nearbyStep, std::abs(x[i] - x[i - 1]), std::abs(x[x.size() - i] - x[x.size() - i - 1])});
            }
            EXPECT_LE(std::abs(x.front() - x.back()), 1.5f * nearbyStep);
            EXPECT_NEAR(testsupport::rmsLevel(signal.slice(0.0, 0.02)) /
                            testsupport::rmsLevel(signal.slice(signal.seconds() - 0.02, signal.seconds())),
                        1.0, 0.3);
        } else {
            // Starts from silence and ends in it: no click at either end.
            EXPECT_LT(std::abs(x.front()), 0.02f);
            EXPECT_LT(std::abs(x.back()), 0.02f);
        }
    }
}
