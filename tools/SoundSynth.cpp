#include "tools/SoundSynth.h"

#include <algorithm>
#include <cmath>

#include "tools/Random.h"

namespace common::assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Attack and release ramps keep a note from starting or ending with a click.
double ramps(double t, double length, double attack, double release) {
    return std::clamp(std::min(t / attack, (length - t) / release), 0.0, 1.0);
}

// A note of `harmonics` partials with amplitudes 1, 1/2, 1/3, ... times `brightness` per step.
double tone(double frequency, double t, int harmonics, double brightness) {
    double sum = 0.0;
    double amplitude = 1.0;
    for (int n = 1; n <= harmonics; ++n) {
        sum += amplitude / n * std::sin(kTwoPi * frequency * n * t);
        amplitude *= brightness;
    }
    return sum;
}

// One-pole low-pass coefficient for a cut-off in Hz.
float lowPassCoefficient(double cutoff) {
    return float(1.0 - std::exp(-kTwoPi * cutoff / Waveform::kSampleRate));
}

// White noise through a band-pass made of two one-pole low-passes. With `circular`, the filters first
// run once around the whole sound, so the state at the start is the state the end leaves: a loop.
Waveform filteredNoise(double seconds, std::uint64_t seed, double low, double high, bool circular) {
    Waveform noise(seconds);
    Random random(seed);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = float(random.uniform(-1.0, 1.0));
    }
    const float a = lowPassCoefficient(high);
    const float b = lowPassCoefficient(low);
    float fast = 0.0f;
    float slow = 0.0f;
    Waveform out(seconds);
    for (int pass = circular ? 0 : 1; pass < 2; ++pass) {
        for (std::size_t i = 0; i < noise.size(); ++i) {
            fast += a * (noise[i] - fast);
            slow += b * (noise[i] - slow);
            out[i] = fast - slow;
        }
    }
    return out;
}

}  // namespace

Waveform SoundSynth::engineLoop() {
    Waveform wave(1.0);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = Waveform::time(i);
        const double throb = 0.75 + 0.25 * std::sin(kTwoPi * 5.0 * t);
        wave[i] = float(throb * tone(55.0, t, 8, 0.8));
    }
    wave.normalise(0.7);
    return wave;
}

Waveform SoundSynth::windLoop() {
    constexpr double kSeconds = 4.0;
    Waveform wave = filteredNoise(kSeconds, 0x57494e44, 150.0, 900.0, true);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = Waveform::time(i);
        // Two and three gusts per loop: whole cycles, so the loop point falls on the same phase.
        const double gust = 0.6 + 0.25 * std::sin(kTwoPi * 2.0 * t / kSeconds) +
                            0.15 * std::sin(kTwoPi * 3.0 * t / kSeconds + 1.0);
        wave[i] *= float(gust);
    }
    wave.normalise(0.6);
    return wave;
}

Waveform SoundSynth::chime() {
    constexpr double kSeconds = 1.0;
    Waveform wave(kSeconds);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = Waveform::time(i);
        const double decay = std::exp(-t / 0.25) * ramps(t, kSeconds, 0.003, 0.05);
        wave[i] = float(decay * tone(1046.5, t, 3, 0.6));
    }
    wave.normalise(0.8);
    return wave;
}

Waveform SoundSynth::fanfare() {
    constexpr double kNote = 0.16;
    constexpr double kFrequencies[] = {523.25, 659.26, 783.99, 1046.5};
    Waveform wave(1.6);
    for (int note = 0; note < 4; ++note) {
        const double length = note < 3 ? kNote * 0.9 : 1.6 - 3 * kNote;
        Waveform part(length);
        for (std::size_t i = 0; i < part.size(); ++i) {
            const double t = Waveform::time(i);
            const double swell = note < 3 ? 1.0 : 0.8 + 0.2 * std::exp(-t / 0.3);
            part[i] = float(swell * ramps(t, length, 0.01, 0.06) * tone(kFrequencies[note], t, 6, 0.75));
        }
        wave.mix(part, std::size_t(note * kNote * Waveform::kSampleRate));
    }
    wave.normalise(0.85);
    return wave;
}

Waveform SoundSynth::crash() {
    constexpr double kSeconds = 1.5;
    Waveform wave = filteredNoise(kSeconds, 0x4352415348, 60.0, 2500.0, false);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = Waveform::time(i);
        const double envelope = std::exp(-t / 0.3) * ramps(t, kSeconds, 0.002, 0.2);
        // The thump falls from 90 Hz as it fades.
        const double thump = 1.5 * std::exp(-t / 0.15) * std::sin(kTwoPi * (90.0 * t - 40.0 * t * t));
        wave[i] = float(envelope * (wave[i] * 4.0 + thump));
    }
    wave.normalise(0.9);
    return wave;
}

Waveform SoundSynth::beep(double frequency, double seconds) {
    Waveform wave(seconds);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double t = Waveform::time(i);
        wave[i] = float(ramps(t, seconds, 0.005, 0.01) * std::sin(kTwoPi * frequency * t));
    }
    wave.normalise(0.7);
    return wave;
}

}  // namespace common::assetgen
