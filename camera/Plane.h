#pragma once

#include <glm/glm.hpp>

namespace common::camera {

// An oriented plane: unit normal n and offset d. Points with n . p - d > 0 lie on the side n points to.
class Plane {
  public:
    // The zero plane (n = 0, d = 0), a placeholder until a real plane is assigned.
    Plane() = default;
    // The plane through three points; n points to the side from which p1, p2, p3 run counter-clockwise.
    // Throws PlaneExc when the points do not span a plane.
    Plane(const glm::vec3& p1, const glm::vec3& p2, const glm::vec3& p3);

    float signedDistance(const glm::vec3& point) const { return glm::dot(n, point) - d; }

    glm::vec3 n{0.0f};
    float d = 0.0f;
};

}  // namespace common::camera
