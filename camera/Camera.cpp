#include "camera/Camera.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace common::camera {
namespace {

// Below this squared length of cross(up, direction) (both unit length) the two are taken as parallel:
// about a microradian, where normalising the cross product would only amplify rounding noise.
constexpr float kParallelEpsilon = 1e-12f;

bool isUsable(const glm::vec3& vector) {
    const float lengthSquared = glm::dot(vector, vector);
    return lengthSquared > 0.0f && std::isfinite(lengthSquared);
}

// A stand-in up vector for a direction that lies along the requested up: the world axis least aligned
// with the direction, which is never parallel to it.
glm::vec3 substituteUp(const glm::vec3& direction) {
    const glm::vec3 a = glm::abs(direction);
    if (a.x <= a.y && a.x <= a.z) {
        return {1.0f, 0.0f, 0.0f};
    }
    if (a.y <= a.z) {
        return {0.0f, 1.0f, 0.0f};
    }
    return {0.0f, 0.0f, 1.0f};
}

}  // namespace

void Camera::lookAt(const glm::vec3& eye, const glm::vec3& newTarget, const glm::vec3& up) {
    eyePoint = eye;
    target = newTarget;
    worldUp = up;
    updateView();
}

void Camera::setEyeTarget(const glm::vec3& eye, const glm::vec3& newTarget) {
    eyePoint = eye;
    target = newTarget;
    updateView();
}

void Camera::setPerspective(float newFov, float newAspectRatio, float newNearClip, float newFarClip) {
    fov = newFov;
    aspectRatio = newAspectRatio;
    nearClip = newNearClip;
    farClip = newFarClip;
    updateProjectionMatrix();
}

// Degenerate requests never put NaNs into the camera:
// - eye on the target (the placeholder light): there is no direction, so the camera moves to the new eye
//   and keeps its previous orientation (if it never had one, the view is left as it is);
// - up along the view direction (a light shining straight down): the direction is valid but the roll is
//   not, so the basis is built with a substitute up (substituteUp). worldUp keeps the value given.
void Camera::updateView() {
    const glm::vec3 toTarget = target - eyePoint;
    if (!isUsable(toTarget)) {
        if (isUsable(viewDirection)) {
            setOrientation(viewDirection, eyePoint + viewDirection, -v);
        }
        return;
    }
    const glm::vec3 direction = glm::normalize(toTarget);
    const glm::vec3 side = glm::cross(worldUp, direction);
    const bool upAlongView = !(glm::dot(side, side) > kParallelEpsilon * glm::dot(worldUp, worldUp));
    setOrientation(direction, target, upAlongView ? substituteUp(direction) : worldUp);
}

void Camera::setOrientation(const glm::vec3& direction, const glm::vec3& center, const glm::vec3& up) {
    viewDirection = direction;
    viewMatrix = glm::lookAt(eyePoint, center, up);
    w = -viewDirection;
    u = glm::normalize(glm::cross(up, viewDirection));
    v = glm::normalize(glm::cross(w, u));
}

}  // namespace common::camera
