#include "camera/CameraPersp.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/camera/CameraMath.h"

using cameratest::expectNear;
using common::camera::CameraPersp;

const glm::vec3 kYUp(0.0f, 1.0f, 0.0f);

TEST(CameraPersp, DefaultLooksFromItsCornerAtTheOriginAndTheAspectWidensOnlyLeftAndRight) {
    CameraPersp camera;
    EXPECT_EQ(camera.eyePoint, glm::vec3(28.0f, 21.0f, 28.0f));
    EXPECT_EQ(camera.viewMatrix, glm::lookAt(camera.eyePoint, glm::vec3(0.0f), kYUp));
    expectNear(camera.getViewDirection(), glm::normalize(glm::vec3(-28.0f, -21.0f, -28.0f)));
    expectNear(camera.projectionMatrix, glm::perspective(45.0f * 0.017453292f, 1.0f, 1.0f, 1000.0f), 1e-6f);
    for (float aspect : {1.0f, 2.0f}) {
        camera.setPerspective(45.0f, aspect, 1.0f, 1000.0f);
        // left, right, top, bottom on the near plane: tan(22.5 degrees) = 0.41421 high.
        expectNear(
            glm::vec4(camera.frustumLeft, camera.frustumRight, camera.frustumTop, camera.frustumBottom),
            glm::vec4(-aspect, aspect, 1.0f, -1.0f) * 0.414214f);
    }
}

TEST(CameraPersp, LookAtReplacesUpSetEyeTargetKeepsItAndTheBasisFollows) {
    CameraPersp camera;
    // u = normalise(cross(up, direction)), v = normalise(cross(w, u)), w = -direction.
    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
    expectNear(camera.w, glm::vec3(0.0f, 0.0f, 1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(camera.v, glm::vec3(0.0f, -1.0f, 0.0f));

    const glm::vec3 zUp(0.0f, 0.0f, 1.0f);
    camera.lookAt(glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f), zUp);
    camera.setEyeTarget(glm::vec3(5.0f, 0.0f, 0.0f), glm::vec3(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(camera.worldUp, zUp);
    expectNear(camera.getViewDirection(), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(camera.viewMatrix, glm::lookAt(camera.eyePoint, camera.target, zUp));
}

// Degenerate placements leave no NaN in the camera.
TEST(CameraPersp, AnEyeOnTheTargetKeepsTheOrientationAndAnUpAlongTheViewStillLooksAlongIt) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), kYUp);
    camera.setEyeTarget(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 2.0f, 3.0f));
    expectNear(camera.viewDirection, glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(camera.viewMatrix,
               glm::lookAt(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 2.0f, 2.0f), kYUp));

    camera.lookAt(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(10.0f, 49.0f, 0.0f), kYUp);
    EXPECT_EQ(camera.worldUp, kYUp);
    ASSERT_TRUE(cameratest::isFinite(camera.viewMatrix));
    EXPECT_NEAR(glm::length(camera.u), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::dot(camera.u, camera.viewDirection), 0.0f, 1e-6f);
    // A point straight below the eye lies straight ahead.
    expectNear(glm::vec3(camera.viewMatrix * glm::vec4(10.0f, 40.0f, 0.0f, 1.0f)),
               glm::vec3(0.0f, 0.0f, -10.0f), 1e-4f);
}
