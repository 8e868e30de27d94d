#include "camera/BoundingBox.h"

#include <cmath>

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/camera/CameraMath.h"

using common::camera::BoundingBox;

// Corners and the vertices picked by a plane normal.
TEST(BoundingBox, CornersRunAroundThePlusZFaceThenTheMinusZFace) {
    const BoundingBox box(glm::vec3(0.0f), glm::vec3(2.0f, 4.0f, 6.0f));
    const glm::vec3 expected[8] = {{0, 0, 6}, {2, 0, 6}, {0, 4, 6}, {2, 4, 6},
                                   {0, 4, 0}, {2, 4, 0}, {0, 0, 0}, {2, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(box.corners[i], expected[i]) << "corner " << i;
    }
}

TEST(BoundingBox, ZeroNormalComponentSelectsMinInBothVertices) {
    const BoundingBox box(glm::vec3(-1.0f, -2.0f, -3.0f), glm::vec3(4.0f, 5.0f, 6.0f));
    const glm::vec3 normal(0.5f, 0.0f, -1.0f);
    EXPECT_EQ(box.positiveVertex(normal), glm::vec3(4.0f, -2.0f, -3.0f));
    EXPECT_EQ(box.negativeVertex(normal), glm::vec3(-1.0f, -2.0f, 6.0f));
}

// Transforming a box.
TEST(BoundingBox, TranslationMovesMinAndMax) {
    const BoundingBox box(glm::vec3(-1.0f, 0.0f, 2.0f), glm::vec3(3.0f, 1.0f, 5.0f));
    const auto moved = box.transformed(glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, -20.0f, 0.5f)));
    EXPECT_EQ(moved->min, glm::vec3(9.0f, -20.0f, 2.5f));
    EXPECT_EQ(moved->max, glm::vec3(13.0f, -19.0f, 5.5f));
}

TEST(BoundingBox, RotationAboutYGrowsAUnitCubeToRootTwo) {
    const BoundingBox cube(glm::vec3(-0.5f), glm::vec3(0.5f));
    const auto turned = cube.transformed(
        glm::rotate(glm::mat4(1.0f), float(45.0 * 0.017453292), glm::vec3(0.0f, 1.0f, 0.0f)));
    cameratest::expectNear(turned->max - turned->min, glm::vec3(std::sqrt(2.0f), 1.0f, std::sqrt(2.0f)));
}

TEST(BoundingBox, TransformedDoesNotDivideByW) {
    glm::mat4 m(1.0f);
    m[3][3] = 4.0f;
    const auto result = BoundingBox(glm::vec3(1.0f), glm::vec3(2.0f)).transformed(m);
    EXPECT_EQ(result->min, glm::vec3(1.0f));
    EXPECT_EQ(result->max, glm::vec3(2.0f));
}
