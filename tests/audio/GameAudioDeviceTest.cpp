// The game's audio facade: damaged sound files and a machine without a sound device.
#include "audio/GameAudio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/Sound.h"
#include "tests/audio/RecordingOutput.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace common::audio;

const std::filesystem::path kSoundDir = "../resources/sounds";

// Opens the default device as the game (its renderer) does, on a machine whose only sound card cannot be
// found (ALSA complains at length), and returns 0 when that gave a working, silent game.
int openWithoutDevice() {
    testsupport::TempDir dir;
    const auto config = dir.write("alsoft.conf", "[alsa]\ndevice = plughw:CARD=SkyringsNoSuchCard\n");
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    setenv("ALSOFT_CONF", config.c_str(), 1);
    unsetenv("ALSOFT_LOGLEVEL");
    // The game's own sink: one line on standard error per warning.
    const auto toStderr = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    std::unique_ptr<GameAudio> audio = GameAudio::open(toStderr, kSoundDir.string());
    audio->frame({{common::scene::GameEventType::CountdownTick, 3, 0.0}}, 5.0f, 0.0f, 0.016);
    audio->setPaused(true);
    return !audio->hasDevice() && audio->toggleMute() && GameAudio::liveSources() == 0 ? 0 : 1;
}

}  // namespace

TEST(GameAudioDeathTest, WithoutADeviceTheGameIsSilentAfterExactlyOneLine) {
    // A fresh process: OpenAL Soft reads its configuration once per process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(openWithoutDevice()), ::testing::ExitedWithCode(0),
                "^No audio device: playing without sound\n$");
}

TEST(GameAudio, ABadSoundFileSilencesThatSoundOnlyWithOneLineNamingIt) {
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> damages[] = {
        {"missing", [](const auto& path) { std::filesystem::remove(path); }},
        {"empty", [](const auto& path) { std::ofstream(path, std::ios::trunc); }},
        {"cut in half",
         [](const auto& path) { std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2); }},
        {"not audio", [](const auto& path) { std::ofstream(path, std::ios::trunc) << "WIDTH\n800\n"; }},
    };
    for (const auto& [what, damage] : damages) {
        for (int i = 0; i < common::audio::kSoundCount; ++i) {
            const Sound spoilt = static_cast<Sound>(i);
            SCOPED_TRACE(std::string(what) + " " + common::audio::soundFileName(spoilt));
            testsupport::TempDir dir;
            std::filesystem::copy(kSoundDir, dir.path());
            const std::filesystem::path file = dir.path() / common::audio::soundFileName(spoilt);
            damage(file);

            auto output = std::make_unique<RecordingOutput>();
            RecordingOutput& recorded = *output;
            std::vector<std::string> warnings;
            ::testing::internal::CaptureStderr();
            const GameAudio audio(std::move(output), dir.path().string(),
                                  [&](const std::string& line) { warnings.push_back(line); });
            std::fflush(stderr);
            EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_NE(warnings[0].find(file.string()), std::string::npos) << warnings[0];
            EXPECT_EQ(recorded.clips.size(), std::size_t(common::audio::kSoundCount - 1));
            EXPECT_EQ(recorded.clips.count(spoilt), 0u);
        }
    }
}
