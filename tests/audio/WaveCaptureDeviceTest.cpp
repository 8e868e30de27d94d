// The real OpenAL output, heard through OpenAL Soft's wave writer: it mixes in real time into a file
// (no sound card needed), which each test reads back after closing the device.
#include "audio/GameAudio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/AudioSignal.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace common::audio;
using namespace common::scene;
using testsupport::AudioSignal;

const std::string kSoundDir = "../resources/sounds/";
constexpr float kLoud = 0.02f;

// OpenAL Soft reads its driver list and configuration once per process, so every test of a process
// mixes into the same file, one after another.
const std::filesystem::path& mixFile() {
    static const testsupport::TempDir dir;
    static const std::filesystem::path file = [] {
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", testsupport::waveWriterConfig(dir.path(), 44100).c_str(), 1);
        return dir.path() / "mix.wav";
    }();
    return file;
}

// The game's audio on the wave writer with only the named sound files present (the rest are silent).
class WaveCapture {
  public:
    explicit WaveCapture(std::initializer_list<const char*> sounds) {
        for (const char* name : sounds) {
            std::filesystem::copy(kSoundDir + name, dir_.path() / name);
        }
        mixFile();
        audio = GameAudio::open([](const std::string&) {}, dir_.path().string());  // the missing files
    }

    // One frame, then `seconds` of real time.
    void step(const GameEvents& events, double seconds, float speed = 2.0f) {
        audio->frame(events, speed, 0.0f, 0.02);
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }

    // Closes the device and returns what it mixed.
    AudioSignal finish() {
        EXPECT_TRUE(audio->hasDevice());
        audio.reset();
        return testsupport::readAudio(mixFile().string());
    }

    std::unique_ptr<GameAudio> audio;

  private:
    testsupport::TempDir dir_;
};

double pitchOf(const AudioSignal& mix, double from, double to) {
    return testsupport::fundamental(mix.slice(from, to), mix.rate, 30.0);
}

}  // namespace

// The last beeps of the countdown, then "go" again cut short by a mute: the beep played while muted is
// unheard, the one after the unmute whole.
TEST(WaveCapture, CountdownBeepsPlayOnceEachGoIsAnOctaveHigherAndMuteSilencesAtOnce) {
    WaveCapture capture({"beep.wav", "go.wav"});
    capture.step({{GameEventType::CountdownTick, 1}}, 0.5);
    capture.step({{GameEventType::CountdownTick, 0}}, 0.7);
    capture.step({{GameEventType::CountdownTick, 0}}, 0.1);
    EXPECT_TRUE(capture.audio->toggleMute());
    capture.step({{GameEventType::CountdownTick, 3}}, 0.5);
    EXPECT_FALSE(capture.audio->toggleMute());
    capture.step({{GameEventType::CountdownTick, 2}}, 0.4);
    const AudioSignal mix = capture.finish();
    const auto spans = testsupport::loudSpans(mix, kLoud);
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_NEAR(spans[1].start - spans[0].start, 0.5, 0.12);
    EXPECT_NEAR(spans[0].end - spans[0].start, testsupport::readAudio(kSoundDir + "beep.wav").seconds(),
                0.04);
    EXPECT_NEAR(spans[1].end - spans[1].start, testsupport::readAudio(kSoundDir + "go.wav").seconds(), 0.04);
    EXPECT_NEAR(pitchOf(mix, spans[1].start, spans[1].end) / pitchOf(mix, spans[0].start, spans[0].end), 2.0,
                0.1);
    EXPECT_LT(spans[2].end - spans[2].start, 0.25);
    EXPECT_NEAR(spans[3].start - spans[2].start, 0.6, 0.12);
}

TEST(WaveCapture, EnginePitchRisesWithSpeedPauseHoldsItAndACrashStopsIt) {
    WaveCapture capture({"engine.wav"});
    for (float speed : {2.0f, 12.0f}) {
        for (int i = 0; i < 25; ++i) {
            capture.step({}, 0.02, speed);
        }
        capture.audio->setPaused(speed == 2.0f);
        capture.step({}, speed == 2.0f ? 0.3 : 0.0);
        capture.audio->setPaused(false);
    }
    capture.step({{GameEventType::Crashed}}, 0.4);
    const AudioSignal mix = capture.finish();
    const auto spans = testsupport::loudSpans(mix, kLoud);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_NEAR(spans[1].start - spans[0].end, 0.3, 0.1);
    EXPECT_GT(pitchOf(mix, spans[1].start + 0.15, spans[1].end - 0.05) /
                  pitchOf(mix, spans[0].start + 0.1, spans[0].end - 0.05),
              1.3);
    EXPECT_GT(mix.seconds() - spans[1].end, 0.25);
}

TEST(WaveCapture, ManyCapturesRestartsPausesAndMutesLeaveNoStuckSoundAndNoNewObjects) {
    const int sourcesBefore = GameAudio::liveSources();
    const int buffersBefore = GameAudio::liveBuffers();
    {
        WaveCapture capture({"chime.wav", "beep.wav"});
        const int sources = GameAudio::liveSources();
        const int buffers = GameAudio::liveBuffers();
        EXPECT_GT(sources, sourcesBefore);
        EXPECT_GT(buffers, buffersBefore);
        int ring = 0;
        for (int frame = 0; frame < 50; ++frame, ring += 4) {
            GameEvents events;
            for (int i = 0; i < 4; ++i) {
                events.push_back({GameEventType::RingCaptured, ring + i, 0.01 * (ring + i)});
            }
            if (frame % 10 == 5) {
                events.push_back({GameEventType::Restarted});
                events.push_back({GameEventType::CountdownTick, 3});
            }
            capture.audio->setPaused(frame % 7 == 3);
            if (frame % 13 == 0) {
                capture.audio->toggleMute();
            }
            capture.step(events, 0.01);
        }
        EXPECT_EQ(GameAudio::liveSources(), sources);
        EXPECT_EQ(GameAudio::liveBuffers(), buffers);
        // Then a restart during a chime: nothing may ring on.
        capture.audio->setPaused(false);
        if (capture.audio->muted()) {
            capture.audio->toggleMute();
        }
        capture.step({{GameEventType::RingCaptured, ring, 0.01 * ring}}, 0.05);
        capture.step({{GameEventType::Restarted}}, 0.4);
        const AudioSignal mix = capture.finish();
        const auto spans = testsupport::loudSpans(mix, kLoud);
        ASSERT_FALSE(spans.empty());
        EXPECT_GT(mix.seconds() - spans.back().end, 0.3);
    }
    EXPECT_EQ(GameAudio::liveSources(), sourcesBefore);
    EXPECT_EQ(GameAudio::liveBuffers(), buffersBefore);
}

// The volume scales what the device mixes, from the next sound on, and muting and unmuting leave it
// as it was set: a beep at full volume, one at half (after a mute and unmute), none heard at zero.
TEST(WaveCapture, VolumeScalesTheMixAndOutlastsAMute) {
    WaveCapture capture({"beep.wav"});
    const GameEvents beep{{GameEventType::CountdownTick, 1}};
    capture.step(beep, 0.5);
    capture.audio->setVolume(50);
    EXPECT_TRUE(capture.audio->toggleMute());
    EXPECT_FALSE(capture.audio->toggleMute());
    capture.step(beep, 0.5);
    capture.audio->setVolume(0);
    capture.step(beep, 0.5);
    const AudioSignal mix = capture.finish();
    const auto spans = testsupport::loudSpans(mix, kLoud);
    ASSERT_EQ(spans.size(), 2u);
    const float full = testsupport::peakLevel(mix.slice(spans[0].start, spans[0].end));
    const float half = testsupport::peakLevel(mix.slice(spans[1].start, spans[1].end));
    EXPECT_NEAR(half / full, 0.5f, 0.05f);
}
