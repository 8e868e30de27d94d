#pragma once

#include <string>

#include "audio/SoundClip.h"

namespace common::audio {

// Reads a sound file (any format libsndfile knows; the game ships 16-bit WAV) into memory.
class SoundFile {
  public:
    // Throws std::runtime_error "Could not read sound <path>: <reason>" for a file that is missing,
    // empty, cut short, not audio, silent of length or of more than two channels.
    static SoundClip read(const std::string& path);
};

}  // namespace common::audio
