#pragma once

#include "audio/SoundOutput.h"

namespace common::audio {

// The output of a game without a sound device: every command is dropped.
class SilentOutput : public SoundOutput {
  public:
    void setClip(Sound, const SoundClip&) override {}
    void playOnce(Sound, float, float) override {}
    void setLoop(Sound, float, float) override {}
    void stopLoop(Sound) override {}
    void pauseAll() override {}
    void resumeAll() override {}
    void stopAll() override {}
    void setMuted(bool) override {}
    void setVolume(float) override {}
};

}  // namespace common::audio
