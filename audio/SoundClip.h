#pragma once

#include <cstdint>
#include <vector>

namespace common::audio {

// Decoded 16-bit samples of one sound, channels interleaved (1 or 2 channels).
struct SoundClip {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;

    double seconds() const {
        return sampleRate > 0 && channels > 0 ? double(samples.size()) / channels / sampleRate : 0.0;
    }
};

}  // namespace common::audio
