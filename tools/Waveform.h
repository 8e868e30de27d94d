#pragma once

#include <string>
#include <vector>

namespace common::assetgen {

// A mono sound as the generator builds it: samples in [-1, 1] at a fixed rate, stored as 16-bit WAV.
class Waveform {
  public:
    static constexpr int kSampleRate = 44100;

    explicit Waveform(double seconds);

    std::size_t size() const { return samples_.size(); }
    float& operator[](std::size_t i) { return samples_[i]; }
    float operator[](std::size_t i) const { return samples_[i]; }
    // Time in seconds of sample `i`.
    static double time(std::size_t i) { return double(i) / kSampleRate; }

    // Scales the whole sound so that its largest magnitude is `peak` (below 1: no clipping).
    void normalise(double peak);
    // Adds `other` from sample `offset` on, cut at this sound's end.
    void mix(const Waveform& other, std::size_t offset);

    // Writes mono 16-bit PCM WAV; throws std::runtime_error with the path when that fails.
    void saveWav(const std::string& path) const;

  private:
    std::vector<float> samples_;
};

}  // namespace common::assetgen
