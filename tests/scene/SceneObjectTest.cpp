#include "scene/Mesh.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

using common::scene::Mesh;

// The object model
TEST(SceneObjectModel, UpdateTwiceWithoutMovingLeavesNoVelocity) {
    Mesh mesh;
    mesh.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(4, 0, 0)));
    mesh.update(0.1);
    mesh.update(0.1);
    EXPECT_EQ(mesh.getPrevModelMatrix(), mesh.getModelMatrix());
}

TEST(SceneObjectModel, TheInverseFollowsTheLatestMatrix) {
    Mesh mesh;
    EXPECT_EQ(mesh.getInverseModelMatrix(), glm::mat4(1.0f));
    const glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(4, 5, 6));
    mesh.setModelMatrix(moved);
    EXPECT_EQ(mesh.getInverseModelMatrix(), glm::inverse(moved));
    EXPECT_EQ(mesh.getPosition(), glm::vec3(4, 5, 6));
}

TEST(SceneObjectModel, UpAxisIsTheObjectsOwnYAxis) {
    Mesh mesh;
    EXPECT_EQ(mesh.getUpAxis(), glm::vec3(0, 1, 0));
    // +90 degrees about z: the local y axis points along world -x.
    mesh.setModelMatrix(glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 0, 1)));
    const glm::vec3 axis = mesh.getUpAxis();
    EXPECT_NEAR(axis.x, -1.0f, 1e-6f);
    EXPECT_NEAR(axis.y, 0.0f, 1e-6f);
    // Scale does not change the direction.
    mesh.setModelMatrix(glm::scale(glm::mat4(1.0f), glm::vec3(0.25f)));
    EXPECT_EQ(mesh.getUpAxis(), glm::vec3(0, 1, 0));
}
