#include "scene/Light.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/camera/CameraMath.h"

using cameratest::expectNear;
using common::scene::Light;

// The light's camera is placed once, at construction, and given a projection later.
TEST(Light, CameraLooksFromThePositionAlongTheDirectionAndKeepsItsViewForANewProjection) {
    Light light(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f));
    EXPECT_EQ(light.camera.eyePoint, glm::vec3(10.0f, 50.0f, 0.0f));
    EXPECT_EQ(light.camera.target, glm::vec3(10.0f, 49.0f, 0.0f));
    EXPECT_EQ(light.camera.worldUp, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(light.ambient, glm::vec3(0.0f));
    EXPECT_EQ(light.attenuationQuadratic, 0.0f);

    const glm::mat4 viewBefore = light.camera.viewMatrix;
    light.setPerspective(40.0f, 100.0f, 1000.0f);
    EXPECT_EQ(light.camera.viewMatrix, viewBefore);
    EXPECT_EQ(light.fov, 40.0f);
    EXPECT_EQ(light.farClip, 1000.0f);
    expectNear(light.camera.projectionMatrix, glm::perspective(40.0f * 0.017453292f, 1.0f, 100.0f, 1000.0f),
               1e-6f);
}

// The placeholder light has its eye on its target: no view of its own, but never a NaN.
TEST(Light, PlaceholderStaysFreeOfNaNs) {
    const Light placeholder(glm::vec3(0.0f, 0.0f, 2000.0f), glm::vec3(0.0f));
    EXPECT_EQ(placeholder.camera.eyePoint, glm::vec3(0.0f, 0.0f, 2000.0f));
    ASSERT_TRUE(cameratest::isFinite(placeholder.camera.viewMatrix));
    expectNear(glm::vec3(placeholder.camera.viewMatrix * glm::vec4(placeholder.position, 1.0f)),
               glm::vec3(0.0f), 1e-2f);

    common::camera::CameraPersp mainCamera;
    mainCamera.createCascades(3);
    mainCamera.updateCascades(placeholder.camera.viewMatrix);
    for (const glm::mat4& m : mainCamera.cascadeMatrices) {
        EXPECT_TRUE(cameratest::isFinite(m));
    }
}
