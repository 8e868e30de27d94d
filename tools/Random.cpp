#include "tools/Random.h"

namespace common::assetgen {

std::uint64_t Random::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::uniform() {
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

std::uint32_t Random::below(std::uint32_t bound) {
    if (bound == 0) {
        return 0;
    }
    // Reject the top slice of the 32-bit range that would favour small values.
    const std::uint32_t limit = std::uint32_t(0x100000000ull - (0x100000000ull % bound));
    for (;;) {
        const auto value = std::uint32_t(next() >> 32);
        if (limit == 0 || value < limit) {
            return value % bound;
        }
    }
}

}  // namespace common::assetgen
