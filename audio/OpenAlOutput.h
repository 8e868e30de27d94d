#pragma once

#include <array>
#include <memory>

#include <AL/al.h>
#include <AL/alc.h>

#include "audio/SoundOutput.h"

namespace common::audio {

// The sound device through OpenAL Soft: one buffer per sound and a fixed set of sources, all made
// when the output opens and deleted when it closes, so playing never creates or deletes anything.
// The two loops have a source each; one-shot sounds share a few voices, the oldest giving way when
// all are busy. Owns the device and its context, which it makes current: one output at a time.
class OpenAlOutput : public SoundOutput {
  public:
    static constexpr int kVoices = 8;

    // Opens the named device, the default one for nullptr. Returns nullptr when it cannot be opened,
    // with the sound libraries' own complaints silenced (OpenAL Soft's log level 0 unless
    // ALSOFT_LOGLEVEL is set, no ALSA error lines).
    static std::unique_ptr<OpenAlOutput> open(const char* deviceName = nullptr);
    ~OpenAlOutput() override;
    OpenAlOutput(const OpenAlOutput&) = delete;
    OpenAlOutput& operator=(const OpenAlOutput&) = delete;

    void setClip(Sound sound, const SoundClip& clip) override;
    void playOnce(Sound sound, float pitch, float gain) override;
    void setLoop(Sound sound, float pitch, float gain) override;
    void stopLoop(Sound sound) override;
    void pauseAll() override;
    void resumeAll() override;
    void stopAll() override;
    void setMuted(bool muted) override;
    void setVolume(float volume) override;

    // OpenAL sources and buffers that outputs of this process hold now.
    static int liveSources();
    static int liveBuffers();

  private:
    static constexpr int kLoops = 2;

    OpenAlOutput(ALCdevice* device, ALCcontext* context);
    bool createObjects();

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    std::array<ALuint, kSoundCount> buffers_{};
    std::array<bool, kSoundCount> loaded_{};
    // The engine loop's source, the wind loop's, then the voices.
    std::array<ALuint, kLoops + kVoices> sources_{};
    std::array<bool, kLoops> loopPlaying_{};
    std::size_t nextVoice_ = 0;
    bool paused_ = false;
    bool muted_ = false;
    float volume_ = 1.0f;
};

}  // namespace common::audio
