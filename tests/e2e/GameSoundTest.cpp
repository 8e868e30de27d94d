// The real game's sound, heard through OpenAL Soft's wave writer: it mixes in real time into a file,
// no sound card needed.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/AudioSignal.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

using testsupport::GameProcess;

// The countdown beeps a second apart while the picture holds still, a higher "go" a second later,
// a chime once the autopilot flies through the first ring; M silences everything, and is remembered:
// the next game starts muted.
TEST(GameSound, CountdownChimeAndMuteInTheRealGameAndTheNextStartIsMuted) {
    testsupport::TempDir dir;
    // A small window keeps the frames shorter than the frame-time clamp: game time runs as real time.
    GameProcess::Options options{"WIDTH\n160\nHEIGHT\n120\n"};
    options.argument = "--demo";
    options.environment = {"ALSOFT_DRIVERS=wave",
                           "ALSOFT_CONF=" + testsupport::waveWriterConfig(dir.path(), 22050).string()};
    GameProcess game(options);
    ASSERT_TRUE(game.startDrawing());
    std::this_thread::sleep_for(std::chrono::seconds(12));
    game.key("m");
    ASSERT_TRUE(game.waitForOutput("Debug:  Sound OFF\n", std::chrono::seconds(10))) << game.out();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(game.quit());
    EXPECT_EQ(game.err(), "");

    const testsupport::AudioSignal mix = testsupport::readAudio((dir.path() / "mix.wav").string());
    ASSERT_GT(mix.seconds(), 12.0);
    const std::vector<double> go = testsupport::toneOnsets(mix, 1760.0);
    ASSERT_EQ(go.size(), 1u);
    std::vector<double> beeps = testsupport::toneOnsets(mix, 880.0);
    beeps.erase(std::remove_if(beeps.begin(), beeps.end(), [&](double t) { return t > go[0]; }), beeps.end());
    ASSERT_EQ(beeps.size(), 3u) << "the countdown's 3, 2 and 1";
    // A second of game time apart. Frames slower than the frame-time clamp stretch game time against
    // the wave writer's real time: a little on a busy machine, more under the sanitizers.
#if defined(__SANITIZE_ADDRESS__)
    constexpr double kLongestStep = 2.5;
#else
    constexpr double kLongestStep = 1.5;
#endif
    const double steps[] = {beeps[1] - beeps[0], beeps[2] - beeps[1], go[0] - beeps[2]};
    for (double step : steps) {
        EXPECT_GT(step, 0.85);
        EXPECT_LT(step, kLongestStep);
    }
    const std::vector<double> chimes = testsupport::toneOnsets(mix, 1046.5);
    ASSERT_FALSE(chimes.empty()) << "no ring captured in the first seconds of flight";
    EXPECT_GT(chimes[0], go[0]);
    // After the mute (the last second and a half, less a margin for the key to arrive), nothing.
    EXPECT_LT(testsupport::peakLevel(mix.slice(mix.seconds() - 1.0, mix.seconds())), 0.001f);

    const std::filesystem::path settings = game.configDir() / "skyrings" / "settings.json";
    EXPECT_NE(testsupport::readFile(settings).find("\"sound\": false"), std::string::npos);
    GameProcess::Options again{"WIDTH\n160\nHEIGHT\n120\n"};
    again.environment = {"XDG_CONFIG_HOME=" + game.configDir().string()};
    GameProcess next(again);
    ASSERT_TRUE(next.startDrawing());
    EXPECT_TRUE(next.waitForOutput("Debug:  Sound OFF\n")) << next.out() << next.err();
    ASSERT_TRUE(next.quit());
}
