#include "camera/BoundingBox.h"

#include <cmath>

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "tests/camera/CameraMath.h"

using common::camera::BoundingBox;

// Corners run around the +z face, then the -z face; a normal picks the corner farthest along (positive)
// or against it (negative), taking min where its component is zero.
TEST(BoundingBox, CornersAndTheVerticesPickedByANormal) {
    const BoundingBox box(glm::vec3(0.0f), glm::vec3(2.0f, 4.0f, 6.0f));
    const std::array<glm::vec3, 8> corners = {
        {{0, 0, 6}, {2, 0, 6}, {0, 4, 6}, {2, 4, 6}, {0, 4, 0}, {2, 4, 0}, {0, 0, 0}, {2, 0, 0}}};
    EXPECT_EQ(box.corners, corners);

    const BoundingBox other(glm::vec3(-1.0f, -2.0f, -3.0f), glm::vec3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(other.positiveVertex(glm::vec3(0.5f, 0.0f, -1.0f)), glm::vec3(4.0f, -2.0f, -3.0f));
    EXPECT_EQ(other.negativeVertex(glm::vec3(0.5f, 0.0f, -1.0f)), glm::vec3(-1.0f, -2.0f, 6.0f));
}

// The box around the transformed corners: moved, grown by a turn, never divided by w.
TEST(BoundingBox, TransformedEnclosesTheTransformedCorners) {
    const BoundingBox box(glm::vec3(-1.0f, 0.0f, 2.0f), glm::vec3(3.0f, 1.0f, 5.0f));
    const auto moved = box.transformed(glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, -20.0f, 0.5f)));
    EXPECT_EQ(moved->min, glm::vec3(9.0f, -20.0f, 2.5f));
    EXPECT_EQ(moved->max, glm::vec3(13.0f, -19.0f, 5.5f));

    const auto turned =
        BoundingBox(glm::vec3(-0.5f), glm::vec3(0.5f))
            .transformed(glm::rotate(glm::mat4(1.0f), float(45.0 * 0.017453292), glm::vec3(0, 1, 0)));
    cameratest::expectNear(turned->max - turned->min, glm::vec3(std::sqrt(2.0f), 1.0f, std::sqrt(2.0f)));

    glm::mat4 w(1.0f);
    w[3][3] = 4.0f;
    const auto undivided = BoundingBox(glm::vec3(1.0f), glm::vec3(2.0f)).transformed(w);
    EXPECT_EQ(undivided->min, glm::vec3(1.0f));
    EXPECT_EQ(undivided->max, glm::vec3(2.0f));
}
