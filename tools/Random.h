#pragma once

#include <cstdint>

namespace common::assetgen {

// Small deterministic random source (SplitMix64). Every generated asset draws from one of these with a
// fixed seed, so the output is the same on every machine and library version.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next();
    // Uniform in [0, 1), from the top 53 bits.
    double uniform();
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform integer in [0, bound), without modulo bias.
    std::uint32_t below(std::uint32_t bound);

  private:
    std::uint64_t state_;
};

}  // namespace common::assetgen
