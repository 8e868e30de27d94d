// The real game's sound, heard through OpenAL Soft's wave writer: it mixes in real time into a file,
// no sound card needed.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/AudioSignal.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

using testsupport::GameProcess;

namespace {

// Points OpenAL Soft at the wave writer for the games this test starts.
class WaveDriver {
  public:
    explicit WaveDriver(const testsupport::TempDir& dir) : file(dir.path() / "mix.wav") {
        const auto config = dir.write("alsoft.conf",
                                      "[general]\nchannels = mono\nsample-type = float32\n"
                                      "frequency = 22050\n[wave]\nfile = " +
                                          file.string() + "\n");
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", config.c_str(), 1);
    }
    ~WaveDriver() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        unsetenv("ALSOFT_CONF");
    }
    const std::filesystem::path file;
};

}  // namespace

// The countdown beeps a second apart while the picture holds still, a higher "go" a second later,
// a chime once the autopilot flies through the first ring; M silences everything.
TEST(GameSound, CountdownChimeAndMuteInTheRealGame) {
    testsupport::TempDir dir;
    const WaveDriver wave(dir);
    // A small window keeps the frames shorter than the frame-time clamp: game time runs as real time.
    GameProcess game({"WIDTH\n160\nHEIGHT\n120\n", true, true, "--demo"});
    game.start();
    ASSERT_FALSE(game.waitForWindow().empty()) << game.err();
    ASSERT_TRUE(game.waitForFirstFrame()) << game.err();
    std::this_thread::sleep_for(std::chrono::seconds(12));
    game.key("m");
    ASSERT_TRUE(game.waitForOutput("Debug:  Sound OFF\n", std::chrono::seconds(10))) << game.out();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    game.key("Escape");
    ASSERT_EQ(game.waitForExit(), 0) << game.err();
    EXPECT_EQ(game.err(), "");

    const testsupport::AudioSignal mix = testsupport::readAudio(wave.file.string());
    ASSERT_GT(mix.seconds(), 12.0);
    const std::vector<double> go = testsupport::toneOnsets(mix, 1760.0);
    ASSERT_EQ(go.size(), 1u);
    std::vector<double> beeps = testsupport::toneOnsets(mix, 880.0);
    beeps.erase(std::remove_if(beeps.begin(), beeps.end(), [&](double t) { return t > go[0]; }), beeps.end());
    ASSERT_EQ(beeps.size(), 3u) << "the countdown's 3, 2 and 1";
    // A second of game time apart; frames slower than the clamp on a busy machine stretch it a little.
    const double steps[] = {beeps[1] - beeps[0], beeps[2] - beeps[1], go[0] - beeps[2]};
    for (double step : steps) {
        EXPECT_GT(step, 0.85);
        EXPECT_LT(step, 1.5);
    }
    const std::vector<double> chimes = testsupport::toneOnsets(mix, 1046.5);
    ASSERT_FALSE(chimes.empty()) << "no ring captured in the first seconds of flight";
    EXPECT_GT(chimes[0], go[0]);
    // After the mute (the last second and a half, less a margin for the key to arrive), nothing.
    EXPECT_LT(testsupport::peakLevel(mix.slice(mix.seconds() - 1.0, mix.seconds())), 0.001f);
}

// On a machine whose sound card cannot be found the libraries' complaints stay silent: one line says
// the game plays without sound, and it plays.
TEST(GameSound, WithoutASoundCardTheGamePlaysSilentlyAfterOneLine) {
    testsupport::TempDir dir;
    const auto config = dir.write("alsoft.conf", "[alsa]\ndevice = plughw:CARD=SkyringsNoSuchCard\n");
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    setenv("ALSOFT_CONF", config.c_str(), 1);
    GameProcess game({"WIDTH\n160\nHEIGHT\n120\n", true, true});
    game.start();
    setenv("ALSOFT_DRIVERS", "null", 1);
    unsetenv("ALSOFT_CONF");
    ASSERT_FALSE(game.waitForWindow().empty()) << game.err();
    ASSERT_TRUE(game.waitForFirstFrame()) << game.err();
    game.key("m");
    ASSERT_TRUE(game.waitForOutput("Debug:  Sound OFF\n", std::chrono::seconds(10))) << game.out();
    game.key("Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.err(), "No audio device: playing without sound\n");
}
