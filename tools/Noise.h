#pragma once

#include <array>
#include <cstdint>

namespace common::assetgen {

// Seeded 2D gradient noise and the fractal sums built from it. With a period the lattice wraps, so a
// texture of that many lattice cells per side tiles without a seam.
class Noise {
  public:
    explicit Noise(std::uint64_t seed);

    // Gradient noise, roughly in [-1, 1]; period 0 means no wrapping.
    double at(double x, double y, int period = 0) const;
    // Sum of `octaves` layers, each twice the frequency and `gain` times the amplitude of the last,
    // normalised to roughly [-1, 1].
    double fbm(double x, double y, int octaves, double gain = 0.5, int period = 0) const;
    // Ridged sum in [0, 1]: sharp crests where the noise crosses zero, as mountain ridges.
    double ridged(double x, double y, int octaves, double gain = 0.5) const;

  private:
    double gradient(int ix, int iy, double dx, double dy) const;

    std::array<std::uint8_t, 512> perm_{};
};

}  // namespace common::assetgen
