#include "tools/Waveform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include <sndfile.h>

namespace common::assetgen {

Waveform::Waveform(double seconds) : samples_(std::size_t(std::lround(seconds * kSampleRate)), 0.0f) {}

void Waveform::normalise(double peak) {
    float largest = 0.0f;
    for (float sample : samples_) {
        largest = std::max(largest, std::abs(sample));
    }
    if (largest > 0.0f) {
        const float scale = float(peak) / largest;
        for (float& sample : samples_) {
            sample *= scale;
        }
    }
}

void Waveform::mix(const Waveform& other, std::size_t offset) {
    for (std::size_t i = 0; i < other.size() && offset + i < size(); ++i) {
        samples_[offset + i] += other[i];
    }
}

void Waveform::saveWav(const std::string& path) const {
    // Rounded here rather than by libsndfile, so the bytes do not depend on its conversion.
    std::vector<std::int16_t> pcm(samples_.size());
    std::transform(samples_.begin(), samples_.end(), pcm.begin(), [](float sample) {
        return std::int16_t(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    });
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    const sf_count_t written = sf_writef_short(file, pcm.data(), sf_count_t(pcm.size()));
    if (sf_close(file) != 0 || written != sf_count_t(pcm.size())) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace common::assetgen
