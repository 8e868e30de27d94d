#include "camera/CameraPersp.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "camera/PlaneExc.h"

using common::camera::CameraPersp;

namespace {

const glm::mat4 kSunView =
    glm::lookAt(glm::vec3(300.0f, 800.0f, 200.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));

// Each cascade matrix, applied after the light's view, must map its slice onto [-1, 1] on every axis.
void expectEverySliceFitsTheUnitCube(const CameraPersp& camera, const glm::mat4& lightView, float tolerance) {
    for (std::size_t i = 0; i < camera.cascadeFrustums.size(); ++i) {
        glm::vec3 low(1e30f);
        glm::vec3 high(-1e30f);
        for (const auto* corners :
             {&camera.cascadeFrustums[i]->nearCorners, &camera.cascadeFrustums[i]->farCorners}) {
            for (const glm::vec3& corner : *corners) {
                const glm::vec4 q = camera.cascadeMatrices[i] * lightView * glm::vec4(corner, 1.0f);
                low = glm::min(low, glm::vec3(q) / q.w);
                high = glm::max(high, glm::vec3(q) / q.w);
            }
        }
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(low[axis], -1.0f, tolerance) << "cascade " << i << " axis " << axis;
            EXPECT_NEAR(high[axis], 1.0f, tolerance) << "cascade " << i << " axis " << axis;
        }
    }
}

}  // namespace

// Split distances for near 1, far 1000: logarithmic/uniform blend, each slice 0.5 percent longer.
TEST(Cascades, SlicesReachTheBlendedSplitDistances) {
    CameraPersp camera;
    camera.createCascades(3);
    EXPECT_EQ(camera.cascadeMatrices, std::vector<glm::mat4>(3, glm::mat4(1.0f)));
    camera.updateCascades(kSunView);
    const float expectedFar[3] = {91.455f, 242.95875f, 1005.0f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(camera.cascadeFrustums[i]->nearDistance, 1.0f);
        EXPECT_NEAR(camera.cascadeFrustums[i]->farDistance, expectedFar[i], expectedFar[i] * 2e-6f);
    }
}

// The fitted matrices, for a moved camera and for a light far from the scene.
TEST(Cascades, MatricesFitEachSliceIntoTheUnitCube) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(10.0f, 40.0f, 60.0f), glm::vec3(0.0f, 35.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.createCascades(3);
    camera.updateCascades(kSunView);
    expectEverySliceFitsTheUnitCube(camera, kSunView, 1e-4f);

    const glm::mat4 distantSun =
        glm::lookAt(glm::vec3(0.0f, 30000.0f, 5000.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.updateCascades(distantSun);
    expectEverySliceFitsTheUnitCube(camera, distantSun, 1e-2f);
}

TEST(Cascades, DegenerateCameraThrowsAndKeepsTheLastCascades) {
    CameraPersp camera;
    camera.createCascades(3);
    camera.updateCascades(kSunView);
    const std::vector<glm::mat4> before = camera.cascadeMatrices;
    const float farBefore = camera.cascadeFrustums[0]->farDistance;
    camera.setPerspective(45.0f, 1.0f, 0.0f, 1000.0f);
    EXPECT_THROW(camera.updateCascades(kSunView), common::camera::PlaneExc);
    EXPECT_EQ(camera.cascadeMatrices, before);
    EXPECT_EQ(camera.cascadeFrustums[0]->farDistance, farBefore);
}
