#pragma once

#include <functional>
#include <memory>
#include <string>

#include "audio/SoundDirector.h"
#include "audio/SoundOutput.h"
#include "game/GameEvent.h"

namespace common::audio {

// The game's sound: the device, the sounds read from their files and the rules that play them. The
// frame loop owns one, calls frame() once per frame with the frame's events, and passes pause and
// the mute key on. Never throws and never stops the game: without a device it stays silent, and a
// sound whose file cannot be read is the only one missing. Its problems go to the warning sink that
// its builder hands in (the game's sends them to standard error).
class GameAudio {
  public:
    using Warning = std::function<void(const std::string&)>;

    static constexpr const char* kSoundDir = "../resources/sounds/";

    // Opens the default sound device and reads every sound from `soundDir`. Without a device it
    // warns "No audio device: playing without sound" (the libraries' own complaints silenced) and
    // reads nothing; each file that cannot be read costs one warning naming it.
    static std::unique_ptr<GameAudio> open(const Warning& warning, const std::string& soundDir = kSoundDir);

    // Plays through `output`, with the sounds read from `soundDir` as open() does.
    GameAudio(std::unique_ptr<SoundOutput> output, const std::string& soundDir, const Warning& warning);
    GameAudio(const GameAudio&) = delete;
    GameAudio& operator=(const GameAudio&) = delete;

    // `speed` in units/s, `verticalSpeed` negative when diving, `dt` in seconds.
    void frame(const scene::GameEvents& events, float speed, float verticalSpeed, double dt) {
        director_.frame(events, speed, verticalSpeed, dt);
    }
    void setPaused(bool paused) { director_.setPaused(paused); }
    // Returns true when now muted; the caller prints " Sound OFF" or " Sound ON".
    bool toggleMute() { return director_.toggleMute(); }
    bool muted() const { return director_.muted(); }
    // Loudness in percent of full, 0 to 100.
    void setVolume(int percent) { director_.setVolume(float(percent) / 100.0f); }
    int volume() const { return int(director_.volume() * 100.0f + 0.5f); }

    bool hasDevice() const { return hasDevice_; }

    // OpenAL sources and buffers this process holds: fixed while the game runs.
    static int liveSources();
    static int liveBuffers();

  private:
    explicit GameAudio(std::unique_ptr<SoundOutput> output);

    std::unique_ptr<SoundOutput> output_;
    SoundDirector director_;
    bool hasDevice_ = false;
};

}  // namespace common::audio
