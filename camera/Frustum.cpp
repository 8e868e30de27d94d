#include "camera/Frustum.h"

#include <cmath>

#include "camera/Angles.h"
#include "camera/BoundingBox.h"
#include "camera/CameraPersp.h"

namespace common::camera {
namespace {

std::array<glm::vec3, 4> crossSection(const glm::vec3& u, const glm::vec3& v, const glm::vec3& centre,
                                      float left, float right, float top, float bottom) {
    return {{
        centre + v * top + u * left,
        centre + v * top + u * right,
        centre + v * bottom + u * left,
        centre + v * bottom + u * right,
    }};
}

}  // namespace

Frustum::Frustum(const CameraPersp& camera) : planes{}, nearCorners{}, farCorners{} {
    fromCamera(camera);
}

void Frustum::fromCamera(const CameraPersp& camera) {
    const glm::vec3 nearCentre = camera.eyePoint + camera.viewDirection * camera.nearClip;
    const glm::vec3 farCentre = camera.eyePoint + camera.viewDirection * camera.farClip;
    const float k = camera.farClip / camera.nearClip;
    const Extents nearExtents{camera.frustumLeft, camera.frustumRight, camera.frustumTop,
                              camera.frustumBottom};
    const Extents farExtents{nearExtents.left * k, nearExtents.right * k, nearExtents.top * k,
                             nearExtents.bottom * k};
    build(camera.u, camera.v, nearCentre, nearExtents, farCentre, farExtents);
}

void Frustum::fromCameraSlice(const CameraPersp& camera, float nearDist, float farDist) {
    const float halfHeightNear = std::tan(toRadians(camera.fov) * 0.5f) * nearDist;
    const float halfWidthNear = halfHeightNear * camera.aspectRatio;
    const float halfHeightFar = halfHeightNear * farDist / nearDist;
    const float halfWidthFar = halfWidthNear * farDist / nearDist;
    const glm::vec3 nearCentre = camera.eyePoint + camera.viewDirection * nearDist;
    const glm::vec3 farCentre = camera.eyePoint + camera.viewDirection * farDist;
    // The camera's u and v are normalise(cross(worldUp, viewDirection)) and its partner; taking them from
    // the camera rather than recomputing keeps a camera whose up runs along its view (see Camera) usable.
    build(camera.u, camera.v, nearCentre, {-halfWidthNear, halfWidthNear, halfHeightNear, -halfHeightNear},
          farCentre, {-halfWidthFar, halfWidthFar, halfHeightFar, -halfHeightFar});
    nearDistance = nearDist;
    farDistance = farDist;
}

void Frustum::build(const glm::vec3& u, const glm::vec3& v, const glm::vec3& nearCentre,
                    const Extents& nearExtents, const glm::vec3& farCentre, const Extents& farExtents) {
    const auto n = crossSection(u, v, nearCentre, nearExtents.left, nearExtents.right, nearExtents.top,
                                nearExtents.bottom);
    const auto f =
        crossSection(u, v, farCentre, farExtents.left, farExtents.right, farExtents.top, farExtents.bottom);
    // Each plane's points run so that its normal points into the frustum. Built into a local first, so
    // a PlaneExc leaves the previous frustum intact.
    const std::array<Plane, 6> newPlanes{{
        Plane(n[0], n[1], n[3]),  // near
        Plane(f[1], f[0], f[2]),  // far
        Plane(n[0], n[2], f[2]),  // through the left corners
        Plane(n[3], n[1], f[3]),  // through the right corners
        Plane(n[1], n[0], f[0]),  // through the top corners
        Plane(n[2], n[3], f[3]),  // through the bottom corners
    }};
    planes = newPlanes;
    nearCorners = n;
    farCorners = f;
}

bool Frustum::containsBox(const BoundingBox& box) const {
    for (const Plane& plane : planes) {
        if (plane.signedDistance(box.positiveVertex(plane.n)) < 0.0f ||
            plane.signedDistance(box.negativeVertex(plane.n)) < 0.0f) {
            return false;
        }
    }
    return true;
}

bool Frustum::intersectsBox(const BoundingBox& box) const {
    for (const Plane& plane : planes) {
        if (plane.signedDistance(box.positiveVertex(plane.n)) < 0.0f) {
            return false;
        }
    }
    return true;
}

}  // namespace common::camera
