#include "camera/BoundingBox.h"

namespace common::camera {

BoundingBox::BoundingBox(const glm::vec3& min, const glm::vec3& max) : min(min), max(max) {
    const glm::vec3 c = (min + max) * 0.5f;
    const glm::vec3 h = (max - min) * 0.5f;
    corners = {{
        c + glm::vec3(-h.x, -h.y, h.z),
        c + glm::vec3(h.x, -h.y, h.z),
        c + glm::vec3(-h.x, h.y, h.z),
        c + glm::vec3(h.x, h.y, h.z),
        c + glm::vec3(-h.x, h.y, -h.z),
        c + glm::vec3(h.x, h.y, -h.z),
        c + glm::vec3(-h.x, -h.y, -h.z),
        c + glm::vec3(h.x, -h.y, -h.z),
    }};
}

glm::vec3 BoundingBox::positiveVertex(const glm::vec3& normal) const {
    glm::vec3 vertex = min;
    for (int axis = 0; axis < 3; ++axis) {
        if (normal[axis] > 0.0f) {
            vertex[axis] = max[axis];
        }
    }
    return vertex;
}

glm::vec3 BoundingBox::negativeVertex(const glm::vec3& normal) const {
    glm::vec3 vertex = min;
    for (int axis = 0; axis < 3; ++axis) {
        if (normal[axis] < 0.0f) {
            vertex[axis] = max[axis];
        }
    }
    return vertex;
}

std::unique_ptr<BoundingBox> BoundingBox::transformed(const glm::mat4& m) const {
    glm::vec3 newMin(m * glm::vec4(corners[0], 1.0f));
    glm::vec3 newMax = newMin;
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const glm::vec3 p(m * glm::vec4(corners[i], 1.0f));
        newMin = glm::min(newMin, p);
        newMax = glm::max(newMax, p);
    }
    return std::make_unique<BoundingBox>(newMin, newMax);
}

}  // namespace common::camera
