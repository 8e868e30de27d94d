#include "tools/Noise.h"

#include <cmath>

#include "tools/Random.h"

namespace common::assetgen {

namespace {

double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

int wrap(int value, int period) {
    if (period <= 0) {
        return value;
    }
    const int r = value % period;
    return r < 0 ? r + period : r;
}

}  // namespace

Noise::Noise(std::uint64_t seed) {
    Random random(seed);
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = std::uint8_t(i);
    }
    for (int i = 255; i > 0; --i) {
        const auto j = random.below(std::uint32_t(i + 1));
        std::swap(table[i], table[j]);
    }
    for (int i = 0; i < 512; ++i) {
        perm_[i] = table[i & 255];
    }
}

double Noise::gradient(int ix, int iy, double dx, double dy) const {
    // Eight unit-ish gradient directions; the diagonals are scaled to unit length.
    constexpr double kDiagonal = 0.70710678118654752;
    const int hash = perm_[(perm_[ix & 255] + iy) & 511] & 7;
    switch (hash) {
        case 0:
            return dx;
        case 1:
            return -dx;
        case 2:
            return dy;
        case 3:
            return -dy;
        case 4:
            return kDiagonal * (dx + dy);
        case 5:
            return kDiagonal * (dx - dy);
        case 6:
            return kDiagonal * (-dx + dy);
        default:
            return kDiagonal * (-dx - dy);
    }
}

double Noise::at(double x, double y, int period) const {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int x0 = int(fx);
    const int y0 = int(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    const int ix0 = wrap(x0, period);
    const int iy0 = wrap(y0, period);
    const int ix1 = wrap(x0 + 1, period);
    const int iy1 = wrap(y0 + 1, period);
    const double n00 = gradient(ix0, iy0, dx, dy);
    const double n10 = gradient(ix1, iy0, dx - 1.0, dy);
    const double n01 = gradient(ix0, iy1, dx, dy - 1.0);
    const double n11 = gradient(ix1, iy1, dx - 1.0, dy - 1.0);
    const double u = fade(dx);
    const double v = fade(dy);
    const double bottom = n00 + u * (n10 - n00);
    const double top = n01 + u * (n11 - n01);
    // Plain 2D gradient noise peaks near +-0.7; stretch it to about +-1.
    return 1.4 * (bottom + v * (top - bottom));
}

double Noise::fbm(double x, double y, int octaves, double gain, int period) const {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double frequency = 1.0;
    for (int i = 0; i < octaves; ++i) {
        // Offsetting each octave keeps the lattice points of the layers from lining up.
        const double offset = 17.31 * i;
        sum += amplitude *
               at(x * frequency + offset, y * frequency - offset, period > 0 ? period * int(frequency) : 0);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0;
    }
    return sum / total;
}

double Noise::ridged(double x, double y, int octaves, double gain) const {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double frequency = 1.0;
    double weight = 1.0;
    for (int i = 0; i < octaves; ++i) {
        const double offset = 31.7 * i;
        double ridge = 1.0 - std::fabs(at(x * frequency + offset, y * frequency + offset));
        ridge *= ridge;
        // Finer layers show mainly on the crests, as erosion leaves them.
        ridge *= weight;
        weight = ridge < 1.0 ? ridge : 1.0;
        sum += amplitude * ridge;
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0;
    }
    return sum / total;
}

}  // namespace common::assetgen
