#pragma once

#include <glm/glm.hpp>

namespace common::camera {

// Base of every camera: eye, target and up, the view basis derived from them, the view matrix and the
// projection parameters. Subclasses decide the projection (updateProjectionMatrix).
//
// Basis convention: w = -viewDirection, u = normalise(cross(worldUp, viewDirection)),
// v = normalise(cross(w, u)). Looking down -z with up +y this gives u = (-1, 0, 0) and v = (0, -1, 0).
class Camera {
  public:
    virtual ~Camera() = default;

    // Rebuilds projectionMatrix from fov (degrees), aspectRatio, nearClip and farClip.
    virtual void updateProjectionMatrix() = 0;

    // Stores eye, target and up, then rebuilds the view direction, basis and view matrix.
    void lookAt(const glm::vec3& eye, const glm::vec3& newTarget, const glm::vec3& up);
    // Like lookAt, keeping the current worldUp.
    void setEyeTarget(const glm::vec3& eye, const glm::vec3& newTarget);
    // Stores the four values (fov in degrees), then calls updateProjectionMatrix.
    void setPerspective(float newFov, float newAspectRatio, float newNearClip, float newFarClip);

    const glm::vec3& getViewDirection() const { return viewDirection; }

    glm::vec3 eyePoint{0.0f};
    glm::vec3 worldUp{0.0f, 1.0f, 0.0f};
    glm::vec3 target{0.0f};
    glm::vec3 viewDirection{0.0f};
    glm::vec3 u{0.0f};
    glm::vec3 v{0.0f};
    glm::vec3 w{0.0f};
    float fov = 0.0f;
    float aspectRatio = 0.0f;
    float nearClip = 0.0f;
    float farClip = 0.0f;
    glm::mat4 projectionMatrix{1.0f};
    glm::mat4 viewMatrix{1.0f};

  protected:
    Camera() = default;
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;

    // Recomputes viewDirection, u, v, w and viewMatrix from eyePoint, target and worldUp.
    void updateView();

  private:
    void setOrientation(const glm::vec3& direction, const glm::vec3& center, const glm::vec3& up);
};

}  // namespace common::camera
