#include "camera/CameraPersp.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/camera/CameraMath.h"

using cameratest::expectNear;
using common::camera::CameraPersp;

// Default camera and projection extents.
TEST(CameraPersp, DefaultLooksFromItsCornerAtTheOrigin) {
    const CameraPersp camera;
    EXPECT_EQ(camera.eyePoint, glm::vec3(28.0f, 21.0f, 28.0f));
    EXPECT_EQ(camera.viewMatrix, glm::lookAt(camera.eyePoint, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f)));
    expectNear(camera.getViewDirection(), glm::normalize(glm::vec3(-28.0f, -21.0f, -28.0f)));
    expectNear(camera.projectionMatrix, glm::perspective(45.0f * 0.017453292f, 1.0f, 1.0f, 1000.0f), 1e-6f);
    EXPECT_NEAR(camera.frustumTop, 0.41421f, 1e-5f);
    EXPECT_NEAR(camera.frustumRight, 0.41421f, 1e-5f);
    EXPECT_EQ(camera.frustumBottom, -camera.frustumTop);
    EXPECT_EQ(camera.frustumLeft, -camera.frustumRight);
}

TEST(CameraPersp, NewAspectChangesOnlyLeftAndRight) {
    CameraPersp camera;
    const float top = camera.frustumTop;
    camera.setPerspective(45.0f, 2.0f, 1.0f, 1000.0f);
    EXPECT_FLOAT_EQ(camera.frustumTop, top);
    EXPECT_FLOAT_EQ(camera.frustumBottom, -top);
    EXPECT_FLOAT_EQ(camera.frustumRight, 2.0f * top);
    EXPECT_FLOAT_EQ(camera.frustumLeft, -2.0f * top);
}

// Placing the camera: which up vector survives, and the orientation of the u/v/w basis.
TEST(CameraPersp, SetEyeTargetKeepsUpWhileLookAtReplacesIt) {
    CameraPersp camera;
    const glm::vec3 zUp(0.0f, 0.0f, 1.0f);
    camera.lookAt(glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f), zUp);
    EXPECT_EQ(camera.worldUp, zUp);
    camera.setEyeTarget(glm::vec3(5.0f, 0.0f, 0.0f), glm::vec3(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(camera.worldUp, zUp);
    expectNear(camera.getViewDirection(), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(camera.viewMatrix, glm::lookAt(camera.eyePoint, camera.target, zUp));
}

TEST(CameraPersp, BasisLookingDownNegativeZ) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
    expectNear(camera.w, glm::vec3(0.0f, 0.0f, 1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(camera.v, glm::vec3(0.0f, -1.0f, 0.0f));
}

// Degenerate placements leave no NaN in the camera.
TEST(CameraPersp, EyeOnTheTargetKeepsTheOrientationAtTheNewEye) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setEyeTarget(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 2.0f, 3.0f));
    expectNear(camera.viewDirection, glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(camera.viewMatrix, glm::lookAt(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 2.0f, 2.0f),
                                              glm::vec3(0.0f, 1.0f, 0.0f)));
}

TEST(CameraPersp, UpAlongTheViewStillLooksAlongTheView) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(10.0f, 49.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(camera.worldUp, glm::vec3(0.0f, 1.0f, 0.0f));
    ASSERT_TRUE(cameratest::isFinite(camera.viewMatrix));
    EXPECT_NEAR(glm::length(camera.u), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::dot(camera.u, camera.viewDirection), 0.0f, 1e-6f);
    // A point straight below the eye lies straight ahead.
    expectNear(glm::vec3(camera.viewMatrix * glm::vec4(10.0f, 40.0f, 0.0f, 1.0f)),
               glm::vec3(0.0f, 0.0f, -10.0f), 1e-4f);
}
