#pragma once

namespace common::audio {

// Every sound the game plays. The generator writes one file for each, under the names below, into
// resources/sounds/; the game reads them from there.
enum class Sound {
    Engine,   // loop
    Wind,     // loop
    Chime,    // a ring captured
    Fanfare,  // the finish ring
    Crash,
    Beep,    // countdown "3", "2", "1"
    GoBeep,  // countdown "0"
};

inline constexpr int kSoundCount = 7;

inline constexpr const char* soundFileName(Sound sound) {
    switch (sound) {
        case Sound::Engine:
            return "engine.wav";
        case Sound::Wind:
            return "wind.wav";
        case Sound::Chime:
            return "chime.wav";
        case Sound::Fanfare:
            return "fanfare.wav";
        case Sound::Crash:
            return "crash.wav";
        case Sound::Beep:
            return "beep.wav";
        case Sound::GoBeep:
            return "go.wav";
    }
    return "";
}

inline constexpr bool isLoop(Sound sound) {
    return sound == Sound::Engine || sound == Sound::Wind;
}

}  // namespace common::audio
