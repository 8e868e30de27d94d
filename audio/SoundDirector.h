#pragma once

#include "audio/SoundOutput.h"
#include "game/GameEvent.h"

namespace common::audio {

// The rules of what sounds when, free of any device: turns each frame's game events and the craft's
// motion into commands for a SoundOutput, which it does not own.
//
// - Engine loop: pitch and volume rise with speed. Wind loop: louder with speed and with diving.
//   Both run from the start (idling through the countdown), stop on a crash or at the finish and
//   start again on a restart.
// - Countdown: a beep on 3, 2 and 1, the higher "go" beep on 0.
// - Ring captured: a chime, a whole tone higher for each capture that follows the previous one
//   within a short gap (up to an octave); a longer gap or a restart starts again at the base pitch.
//   The finish ring plays the fanfare instead.
// - Crash: the crash sound, and the loops stop.
// - Restart: every sound stops, the loops start again; pause holds every sound, mute silences all.
class SoundDirector {
  public:
    explicit SoundDirector(SoundOutput& output) : output_(&output) {}

    // Once per frame, paused or not. `speed` is the craft's speed (units/s, about 2 to 12),
    // `verticalSpeed` its climb rate (negative when diving), `dt` the frame's step in seconds.
    void frame(const scene::GameEvents& events, float speed, float verticalSpeed, double dt);
    void setPaused(bool paused);
    // Returns the new state: true when now muted.
    bool toggleMute();
    // The loudness of all sound, 0 to 1 (clamped); mute silences it and unmute brings it back.
    void setVolume(float volume);

    bool paused() const { return paused_; }
    bool muted() const { return muted_; }
    float volume() const { return volume_; }

  private:
    void onEvent(const scene::GameEvent& event, bool finishedThisFrame);
    void stopLoops();
    void updateLoops(float speed, float verticalSpeed, double dt);

    SoundOutput* output_;
    bool paused_ = false;
    bool muted_ = false;
    float volume_ = 1.0f;
    bool loopsOn_ = true;
    // The loops glide to their targets; the first frame after a (re)start jumps there.
    bool loopsFresh_ = true;
    float enginePitch_ = 1.0f;
    float engineGain_ = 0.0f;
    float windPitch_ = 1.0f;
    float windGain_ = 0.0f;
    int streak_ = 0;
    bool captured_ = false;
    double lastCaptureTime_ = 0.0;
};

}  // namespace common::audio
