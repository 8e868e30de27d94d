#pragma once

#include <set>
#include <string>
#include <vector>

#include "audio/SoundOutput.h"

// A SoundOutput that writes down what it is told, for the tests of the sound rules: one line per
// command ("once Chime", "stopLoop Wind", "pause", ...), where a frame's engine and wind updates make
// one line "loops"; the pitches and gains of the one-shot sounds and of the latest loop updates.
class RecordingOutput : public common::audio::SoundOutput {
  public:
    using Sound = common::audio::Sound;
    struct Level {
        float pitch = 0.0f;
        float gain = 0.0f;
    };

    void setClip(Sound sound, const common::audio::SoundClip&) override { clips.insert(sound); }
    void playOnce(Sound sound, float pitch, float gain) override {
        lines.push_back(std::string("once ") + kNames[int(sound)]);
        once.push_back({pitch, gain});
    }
    void setLoop(Sound sound, float pitch, float gain) override {
        if (sound == Sound::Engine) {
            lines.push_back("loops");
        }
        (sound == Sound::Engine ? engine : wind) = {pitch, gain};
    }
    void stopLoop(Sound sound) override { lines.push_back(std::string("stopLoop ") + kNames[int(sound)]); }
    void pauseAll() override { lines.push_back("pause"); }
    void resumeAll() override { lines.push_back("resume"); }
    void stopAll() override { lines.push_back("stopAll"); }
    void setMuted(bool muted) override { lines.push_back(muted ? "mute" : "unmute"); }
    void setVolume(float level) override { volume = level; }

    // The lines so far, emptying the list.
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(lines);
        return taken;
    }

    static constexpr const char* kNames[] = {"Engine", "Wind", "Chime", "Fanfare", "Crash", "Beep", "GoBeep"};
    std::vector<std::string> lines;
    std::vector<Level> once;
    Level engine, wind;
    float volume = -1.0f;
    std::set<Sound> clips;
};
