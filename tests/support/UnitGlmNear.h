#pragma once

#include <cstddef>

#include <gtest/gtest.h>

namespace testsupport {

// Every component of a glm vector or matrix of floats within the tolerance of the expected one.
template <typename T>
void expectNear(const T& actual, const T& expected, float tolerance = 1e-5f) {
    const auto* a = reinterpret_cast<const float*>(&actual);
    const auto* e = reinterpret_cast<const float*>(&expected);
    for (std::size_t i = 0; i < sizeof(T) / sizeof(float); ++i) {
        EXPECT_NEAR(a[i], e[i], tolerance) << "component " << i;
    }
}

}  // namespace testsupport
