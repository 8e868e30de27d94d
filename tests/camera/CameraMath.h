#pragma once

#include <cmath>

#include <gtest/gtest.h>
#include <glm/glm.hpp>

namespace cameratest {

inline void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

inline void expectNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance = 1e-5f) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "element [" << c << "][" << r << "]";
        }
    }
}

inline bool isFinite(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            if (!std::isfinite(m[c][r])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace cameratest
