#pragma once

#include <glm/glm.hpp>

namespace common::scene {

// Where a ring stands this frame, as far as capturing it goes.
struct RingPose {
    glm::vec3 boxMin{0.0f};  // its world box
    glm::vec3 boxMax{0.0f};
    glm::vec3 centre{0.0f};
    glm::vec3 axis{0.0f, 1.0f, 0.0f};  // normal to its plane
};

// A ring's box is this far from its centre along each of its own axes (before its scale); the
// craft passes within kRingRadius of an ordinary ring's centre, within kFinishRadius of a finish
// ring's, and nearer its plane than kPlaneTolerance.
constexpr float kRingHalfExtent = 9.0f;
constexpr float kRingRadius = 2.0f;
constexpr float kFinishRadius = 9.0f;
constexpr double kPlaneTolerance = 0.3;

// The pose of a ring placed by `transform`: its world box is the box around its own (scaled,
// turned) cube. A ring's spin turns it about its own axis, which leaves its centre and axis in place;
// the box is the one it was loaded with.
RingPose poseOfRing(const glm::mat4& transform);

// True when a craft at `craft` passes through the ring: strictly inside its world box, less than
// kPlaneTolerance from its plane and less than `radius` from its centre.
bool ringCaptures(const RingPose& ring, const glm::vec3& craft, float radius);

// True when a craft that stepped from `from` to `to` passes through the ring: either it ends the step
// inside the capture zone (as above), or the step crosses the ring's plane at a point that is inside
// the zone. A fast step can leap the thin zone without a position inside it.
bool ringCapturesStep(const RingPose& ring, const glm::vec3& from, const glm::vec3& to, float radius);

}  // namespace common::scene
