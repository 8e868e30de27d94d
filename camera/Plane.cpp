#include "camera/Plane.h"

#include <cmath>

#include "camera/PlaneExc.h"

namespace common::camera {

Plane::Plane(const glm::vec3& p1, const glm::vec3& p2, const glm::vec3& p3) {
    const glm::vec3 c = glm::cross(p2 - p1, p3 - p1);
    const float length = glm::length(c);
    // A zero length means collinear or coincident points; a non-finite one (corners at infinity, e.g. a
    // zero near distance) would give a NaN normal that silently culls everything, so it is refused too.
    if (!(length > 0.0f) || !std::isfinite(length)) {
        throw PlaneExc();
    }
    n = c / length;
    d = glm::dot(n, p1);
}

}  // namespace common::camera
