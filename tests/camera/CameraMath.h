#pragma once

#include <gtest/gtest.h>
#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace cameratest {

// Every component of a glm vector or matrix within the tolerance.
template <typename T>
void expectNear(const T& actual, const T& expected, float tolerance = 1e-5f) {
    const auto* a = reinterpret_cast<const float*>(&actual);
    const auto* e = reinterpret_cast<const float*>(&expected);
    for (std::size_t i = 0; i < sizeof(T) / sizeof(float); ++i) {
        EXPECT_NEAR(a[i], e[i], tolerance) << "component " << i;
    }
}

inline bool isFinite(const glm::mat4& m) {
    return std::all_of(&m[0][0], &m[0][0] + 16, [](float value) { return std::isfinite(value); });
}

}  // namespace cameratest
