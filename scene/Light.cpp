#include "scene/Light.h"

namespace common::scene {

Light::Light(const glm::vec3& position, const glm::vec3& direction)
    : position(position),
      direction(direction),
      fov(camera.fov),
      nearClip(camera.nearClip),
      farClip(camera.farClip) {
    camera.setEyeTarget(position, position + direction);
}

void Light::setAttenuation(float constant, float linear, float quadratic) {
    attenuationConstant = constant;
    attenuationLinear = linear;
    attenuationQuadratic = quadratic;
}

void Light::setPerspective(float newFov, float newNearClip, float newFarClip) {
    fov = newFov;
    nearClip = newNearClip;
    farClip = newFarClip;
    camera.setPerspective(newFov, 1.0f, newNearClip, newFarClip);
}

}  // namespace common::scene
