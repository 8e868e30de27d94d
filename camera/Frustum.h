#pragma once

#include <array>

#include <glm/glm.hpp>

#include "camera/Plane.h"

namespace common::camera {

class BoundingBox;
class CameraPersp;

// Six-plane view volume of a perspective camera, or of a slice of it between two distances (a shadow
// cascade). Used for frustum culling and for fitting the cascade projections. Plain value type.
//
// A rebuild either succeeds completely or throws PlaneExc and leaves the frustum as it was, so a caller
// can catch it and go on with the previous frustum.
class Frustum {
  public:
    enum PlaneIndex { kNear = 0, kFar = 1, kLeft = 2, kRight = 3, kTop = 4, kBottom = 5 };
    // Corner order of nearCorners and farCorners (top and left as seen in the camera's u/v basis).
    enum CornerIndex { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };

    // Starts from zero planes and corners, then fromCamera. Throws PlaneExc for a degenerate camera.
    explicit Frustum(const CameraPersp& camera);

    // Rebuilds from the camera's own near and far clip distances and near-plane extents.
    void fromCamera(const CameraPersp& camera);
    // Rebuilds for the camera's view between the distances nearDist and farDist; stores both.
    void fromCameraSlice(const CameraPersp& camera, float nearDist, float farDist);

    // True when the whole box is inside all six planes.
    bool containsBox(const BoundingBox& box) const;
    // False when the box lies wholly outside one of the planes. A box near a frustum corner may be
    // outside the frustum and still count as intersecting.
    bool intersectsBox(const BoundingBox& box) const;

    // All normals point into the frustum; see PlaneIndex for the order.
    std::array<Plane, 6> planes;
    std::array<glm::vec3, 4> nearCorners;
    std::array<glm::vec3, 4> farCorners;
    // Set only by fromCameraSlice.
    float nearDistance = 0.0f;
    float farDistance = 0.0f;

  private:
    // Offsets of the frustum edges from the centre of a cross-section, along the camera's u and v.
    struct Extents {
        float left;
        float right;
        float top;
        float bottom;
    };

    // Sets corners and planes from the two cross-sections; throws before changing anything when the
    // corners do not span a volume.
    void build(const glm::vec3& u, const glm::vec3& v, const glm::vec3& nearCentre,
               const Extents& nearExtents, const glm::vec3& farCentre, const Extents& farExtents);
};

}  // namespace common::camera
