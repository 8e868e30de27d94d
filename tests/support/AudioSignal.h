#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Measurements on sound files for the sound tests: the generated sounds and what OpenAL Soft's wave
// writer captured of the game's mix.
namespace testsupport {

// A sound file's first channel in [-1, 1]; no samples when the file cannot be read.
struct AudioSignal {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;

    double seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
    // The samples from `from` to `to` seconds, clamped to the sound.
    std::vector<float> slice(double from, double to) const;
};
AudioSignal readAudio(const std::string& path);

float peakLevel(const std::vector<float>& samples);
float rmsLevel(const std::vector<float>& samples);

// Stretches whose level over 10 ms windows is above `threshold`, as [start, end) in seconds; gaps
// under 50 ms are bridged.
struct Span {
    double start;
    double end;
};
std::vector<Span> loudSpans(const AudioSignal& signal, float threshold);

// The times (seconds) at which a tone of `hz` sets in: 20 ms windows whose amplitude at that
// frequency (Goertzel, Hann-windowed) rises above `threshold` after one that did not.
std::vector<double> toneOnsets(const AudioSignal& signal, double hz, float threshold = 0.05f);

// Fundamental frequency in Hz from the autocorrelation: the shortest strong period between 1/maxHz
// and 1/minHz. 0 when nothing repeats.
double fundamental(const std::vector<float>& samples, int rate, double minHz = 40.0, double maxHz = 4000.0);

// Writes <dir>/alsoft.conf, which makes OpenAL Soft's wave writer (ALSOFT_DRIVERS=wave) mix in mono
// float samples at `rate` Hz into <dir>/mix.wav, and returns its path for ALSOFT_CONF.
std::filesystem::path waveWriterConfig(const std::filesystem::path& dir, int rate);

}  // namespace testsupport
