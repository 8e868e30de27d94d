#pragma once

#include <glm/glm.hpp>

#include "camera/CameraPersp.h"

namespace common::scene {

// The scene's one light: a value holder for its position, direction, colours and attenuation, plus the
// camera that looks from the light along its direction and gives the light's view for the shadow maps.
// The camera is placed once, at construction.
class Light {
  public:
    // The projection a scene file's light gets (field of view in degrees, near and far distances).
    static constexpr float kShadowFov = 40.0f;
    static constexpr float kShadowNear = 100.0f;
    static constexpr float kShadowFar = 1000.0f;

    // Places the camera at position, looking at position + direction with up (0, 1, 0). A zero direction
    // (the placeholder light) has no view of its own; the camera then keeps its default orientation.
    Light(const glm::vec3& position, const glm::vec3& direction);

    void setAttenuation(float constant, float linear, float quadratic);
    // Stores the values and gives the camera this projection with aspect 1; the view is not touched.
    void setPerspective(float newFov, float newNearClip, float newFarClip);

    glm::vec3 position;
    glm::vec3 direction;  // not normalised
    glm::vec3 ambient{0.0f};
    glm::vec3 specular{0.0f};
    glm::vec3 diffuse{0.0f};
    float attenuationConstant = 0.0f;
    float attenuationLinear = 0.0f;
    float attenuationQuadratic = 0.0f;
    camera::CameraPersp camera;
    // The projection last given to setPerspective; until then the camera's default one.
    float fov;
    float nearClip;
    float farClip;
};

}  // namespace common::scene
