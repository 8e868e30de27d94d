#include "terrain/HeightMap.h"

#include <algorithm>
#include <cmath>

namespace common::scene {
namespace {

// The craft's reference point may sink this far below the surface before it touches the ground.
constexpr float kGroundTolerance = 0.8f;

// Truncates toward zero and clamps to [0, count); positions that are not finite read sample 0.
int clampIndex(float position, int count) {
    if (!(position > 0.0f)) {
        return 0;
    }
    const float last = static_cast<float>(count - 1);
    return position >= last ? count - 1 : static_cast<int>(position);
}

}  // namespace

void HeightMap::load(float maxHeight, const std::string& path) {
    cimg_library::CImg<unsigned char> loaded(path.c_str());
    image.swap(loaded);
    size = static_cast<std::uint32_t>(image.width());
    heightScale = maxHeight / 255.0f;
}

float HeightMap::groundHeight(float x, float z) const {
    if (image.is_empty()) {
        return 0.0f;
    }
    // Truncation toward zero, as the mapping defines; indices outside the image are clamped to the
    // border (the last row would otherwise be read one past the end for z just below 0).
    const float column = std::trunc(x * 2.0f);
    const float row = static_cast<float>(size) - std::trunc(-z * 2.0f);
    const unsigned char sample =
        image(clampIndex(column, image.width()), clampIndex(row, image.height()), 0, 0);
    return static_cast<float>(sample) * heightScale;
}

float HeightMap::altitude(float x, float y, float z) const {
    if (y <= 0.0f) {
        return 0.0f;
    }
    const float ground = groundHeight(x, z);
    if (y >= ground - kGroundTolerance) {
        // Rounding can leave a hair below zero right at the limit; an altitude is never negative.
        return std::max(0.0f, y - ground + kGroundTolerance);
    }
    return 0.0f;
}

}  // namespace common::scene
