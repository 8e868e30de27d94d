#pragma once

#include <memory>
#include <vector>

#include <glm/glm.hpp>

#include "camera/Camera.h"
#include "camera/Frustum.h"

namespace common::camera {

// Perspective camera: the main chase camera (which also carries the shadow cascades) and the light's
// camera. Owns its cascade frusta; copies get copies of them.
//
// Default: eye (28, 21, 28) looking at the origin, up (0, 1, 0), fov 45 degrees, aspect 1, near 1,
// far 1000.
class CameraPersp : public Camera {
  public:
    CameraPersp();
    ~CameraPersp() override;
    CameraPersp(const CameraPersp& other);
    CameraPersp& operator=(const CameraPersp& other);
    CameraPersp(CameraPersp&&) noexcept;
    CameraPersp& operator=(CameraPersp&&) noexcept;

    // Rebuilds projectionMatrix and the near-plane extents from fov, aspectRatio, nearClip, farClip.
    void updateProjectionMatrix() override;
    virtual bool isPersp() const { return true; }

    // Appends count cascade slices (each a frustum of the whole view until the first updateCascades) and
    // as many identity matrices.
    void createCascades(int count);
    // Splits the view into the cascade slices (a blend of logarithmic and uniform splits, all starting at
    // the near plane) and fits cascadeMatrices[i] so that cascadeMatrices[i] * lightView maps slice i
    // into [-1, 1] in x, y and z. Allocates nothing. Throws PlaneExc for a degenerate camera, leaving the
    // slice that failed (and those after it) as they were.
    void updateCascades(const glm::mat4& lightView);

    // Extents of the view frustum on the near plane, along u (left, right) and v (top, bottom).
    float frustumLeft = 0.0f;
    float frustumRight = 0.0f;
    float frustumTop = 0.0f;
    float frustumBottom = 0.0f;

    std::vector<glm::mat4> cascadeMatrices;
    std::vector<std::unique_ptr<Frustum>> cascadeFrustums;

  private:
    void fitCascade(std::size_t index, float splitDistance, const glm::mat4& lightView);
};

}  // namespace common::camera
