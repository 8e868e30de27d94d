#include "tests/support/AudioSignal.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>

#include <sndfile.h>

namespace testsupport {

std::vector<float> AudioSignal::slice(double from, double to) const {
    const auto at = [this](double t) {
        return std::min(std::size_t(std::max(0.0, t) * rate), samples.size());
    };
    return std::vector<float>(samples.begin() + at(from), samples.begin() + std::max(at(from), at(to)));
}

AudioSignal readAudio(const std::string& path) {
    AudioSignal signal;
    SF_INFO info{};
    if (SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info)) {
        std::vector<float> frames(std::size_t(info.frames) * info.channels);
        frames.resize(std::size_t(sf_readf_float(file, frames.data(), info.frames)) * info.channels);
        sf_close(file);
        signal.rate = info.samplerate;
        signal.channels = info.channels;
        for (std::size_t i = 0; i < frames.size(); i += std::size_t(info.channels)) {
            signal.samples.push_back(frames[i]);
        }
    }
    return signal;
}

float peakLevel(const std::vector<float>& samples) {
    return std::accumulate(samples.begin(), samples.end(), 0.0f,
                           [](float peak, float sample) { return std::max(peak, std::abs(sample)); });
}

float rmsLevel(const std::vector<float>& samples) {
    const double sum = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
    return float(std::sqrt(sum / double(std::max<std::size_t>(samples.size(), 1))));
}

std::vector<Span> loudSpans(const AudioSignal& signal, float threshold) {
    std::vector<Span> spans;
    for (double start = 0.0; start + 0.01 <= signal.seconds(); start += 0.01) {
        if (rmsLevel(signal.slice(start, start + 0.01)) <= threshold) {
            continue;
        }
        if (!spans.empty() && start - spans.back().end < 0.05) {
            spans.back().end = start + 0.01;
        } else {
            spans.push_back({start, start + 0.01});
        }
    }
    return spans;
}

double fundamental(const std::vector<float>& x, int rate, double minHz, double maxHz) {
    const std::size_t shortest = std::size_t(rate / maxHz);
    const std::size_t longest = std::size_t(rate / minHz);
    if (x.size() < 2 * longest + 2 || shortest < 2) {
        return 0.0;
    }
    // Normalised autocorrelation of the first part of the samples, at every lag in range.
    std::vector<double> r(longest + 2, 0.0);
    for (std::size_t lag = shortest - 1; lag <= longest + 1; ++lag) {
        double product = 0.0, a = 0.0, b = 0.0;
        for (std::size_t i = 0; i + longest + 1 < x.size(); ++i) {
            product += double(x[i]) * x[i + lag];
            a += double(x[i]) * x[i];
            b += double(x[i + lag]) * x[i + lag];
        }
        r[lag] = a > 0.0 && b > 0.0 ? product / std::sqrt(a * b) : 0.0;
    }
    const double best = *std::max_element(r.begin() + shortest, r.begin() + longest + 1);
    // Multiples of the period correlate as well as the period itself: take the first strong peak,
    // placed between samples by a parabola.
    for (std::size_t lag = shortest; best > 0.5 && lag <= longest; ++lag) {
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double bend = r[lag - 1] - 2.0 * r[lag] + r[lag + 1];
            return rate / (double(lag) + (bend < 0.0 ? 0.5 * (r[lag - 1] - r[lag + 1]) / bend : 0.0));
        }
    }
    return 0.0;
}

std::vector<double> toneOnsets(const AudioSignal& signal, double hz, float threshold) {
    const std::size_t window = std::size_t(signal.rate) / 50;
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * hz / signal.rate);
    std::vector<double> onsets;
    bool sounding = false;
    for (std::size_t start = 0; window > 0 && start + window <= signal.samples.size(); start += window) {
        double previous = 0.0;
        double current = 0.0;
        for (std::size_t i = start; i < start + window; ++i) {
            // A Hann window keeps a loud tone nearby from leaking into this one.
            const double hann = 0.5 - 0.5 * std::cos(2.0 * M_PI * double(i - start) / double(window - 1));
            const double next = hann * signal.samples[i] + coefficient * current - previous;
            previous = current;
            current = next;
        }
        const double power = current * current + previous * previous - coefficient * current * previous;
        const bool loud = 4.0 * std::sqrt(std::max(power, 0.0)) / double(window) > threshold;
        if (loud && !sounding) {
            onsets.push_back(double(start) / signal.rate);
        }
        sounding = loud;
    }
    return onsets;
}

std::filesystem::path waveWriterConfig(const std::filesystem::path& dir, int rate) {
    const std::filesystem::path config = dir / "alsoft.conf";
    std::ofstream(config) << "[general]\nchannels = mono\nsample-type = float32\nfrequency = " << rate
                          << "\n[wave]\nfile = " << (dir / "mix.wav").string() << "\n";
    return config;
}

}  // namespace testsupport
