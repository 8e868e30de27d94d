#pragma once

#include "audio/Sound.h"
#include "audio/SoundClip.h"

namespace common::audio {

// Where sound commands go: the OpenAL device in the game, a recording fake in tests, nothing when the
// machine has no sound device. Every call returns at once; none waits for the sound itself.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;

    // Hands over the samples of one sound; a sound never given stays silent.
    virtual void setClip(Sound sound, const SoundClip& clip) = 0;
    // Starts `sound` once from its beginning; pitch 1 is as recorded, gain 1 full volume.
    virtual void playOnce(Sound sound, float pitch, float gain) = 0;
    // Sets a loop's pitch and gain, starting it when it is not playing.
    virtual void setLoop(Sound sound, float pitch, float gain) = 0;
    virtual void stopLoop(Sound sound) = 0;
    // Holds every playing sound where it is; resumeAll() carries on from there.
    virtual void pauseAll() = 0;
    virtual void resumeAll() = 0;
    // Stops every sound, paused ones included.
    virtual void stopAll() = 0;
    // Silences everything (playing or started later) until unmuted.
    virtual void setMuted(bool muted) = 0;
    // The loudness of everything, 0 (silent) to 1 (as the gains say); muting does not change it.
    virtual void setVolume(float volume) = 0;
};

}  // namespace common::audio
