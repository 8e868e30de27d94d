#include "scene/SceneObject.h"

namespace common::scene {

SceneObject::~SceneObject() = default;

void SceneObject::setModelMatrix(const glm::mat4& matrix) {
    modelMatrix = matrix;
    inverseValid = false;
}

const glm::mat4& SceneObject::getInverseModelMatrix() {
    if (!inverseValid) {
        inverseModelMatrix = glm::inverse(modelMatrix);
        inverseValid = true;
    }
    return inverseModelMatrix;
}

glm::vec3 SceneObject::getPosition() const {
    return glm::vec3(modelMatrix[3]);
}

// The second column of the model matrix is where the object's local y axis points. (The second row,
// which a ring would get for an upright ring, points elsewhere and turns with the ring's spin.)
glm::vec3 SceneObject::getUpAxis() const {
    return glm::normalize(glm::vec3(modelMatrix[1]));
}

void SceneObject::updateWorldBox() {
    if (localBox) {
        worldBox = localBox->transformed(modelMatrix);
    }
}

void SceneObject::drawBoundingBox(gl::GlslProg& lineProgram) const {
    if (worldBox) {
        worldBox->draw(lineProgram, glm::mat4(1.0f));
    }
}

}  // namespace common::scene
