#pragma once

#include <array>
#include <memory>

#include <glm/glm.hpp>

namespace common::camera {

// Axis-aligned box between min and max, used for frustum culling. Needs no GL context.
class BoundingBox {
  public:
    // Corner order, as signs of x, y, z relative to the centre:
    // 0 (-,-,+), 1 (+,-,+), 2 (-,+,+), 3 (+,+,+), 4 (-,+,-), 5 (+,+,-), 6 (-,-,-), 7 (+,-,-).
    BoundingBox(const glm::vec3& min, const glm::vec3& max);

    // min, taking max on every axis where the normal component is greater than 0: the corner farthest
    // along the normal.
    glm::vec3 positiveVertex(const glm::vec3& normal) const;
    // min, taking max on every axis where the normal component is less than 0: the corner farthest
    // against the normal.
    glm::vec3 negativeVertex(const glm::vec3& normal) const;

    // The box around the eight corners transformed by m as points (w = 1, no division).
    std::unique_ptr<BoundingBox> transformed(const glm::mat4& m) const;

    glm::vec3 min;
    glm::vec3 max;
    std::array<glm::vec3, 8> corners;
};

}  // namespace common::camera
