#include "game/RingCapture.h"

#include <cmath>

namespace common::scene {

RingPose poseOfRing(const glm::mat4& transform) {
    RingPose pose;
    pose.boxMin = glm::vec3(INFINITY);
    pose.boxMax = glm::vec3(-INFINITY);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 local((corner & 1) ? kRingHalfExtent : -kRingHalfExtent,
                              (corner & 2) ? kRingHalfExtent : -kRingHalfExtent,
                              (corner & 4) ? kRingHalfExtent : -kRingHalfExtent);
        const glm::vec3 world(transform * glm::vec4(local, 1.0f));
        pose.boxMin = glm::min(pose.boxMin, world);
        pose.boxMax = glm::max(pose.boxMax, world);
    }
    pose.centre = glm::vec3(transform[3]);
    pose.axis = glm::normalize(glm::vec3(transform[1]));
    return pose;
}

bool ringCaptures(const RingPose& ring, const glm::vec3& craft, float radius) {
    if (!(glm::all(glm::lessThan(ring.boxMin, craft)) && glm::all(glm::lessThan(craft, ring.boxMax)))) {
        return false;
    }
    // The foot of the craft's position on the ring's plane (through the centre, normal to the axis).
    const glm::vec3 offset = craft - ring.centre;
    const float along = -glm::dot(ring.axis, offset) / glm::dot(ring.axis, ring.axis);
    const glm::vec3 foot = craft + along * ring.axis;
    const double planeDistance = glm::length(craft - foot);
    return planeDistance < kPlaneTolerance && glm::length(offset) < radius;
}

bool ringCapturesStep(const RingPose& ring, const glm::vec3& from, const glm::vec3& to, float radius) {
    if (ringCaptures(ring, to, radius)) {
        return true;
    }
    // Signed heights over the plane: a step crosses it when they differ in sign (or one is on it).
    // Equal heights (no move, or a move along the plane) cross nothing.
    const float before = glm::dot(ring.axis, from - ring.centre);
    const float after = glm::dot(ring.axis, to - ring.centre);
    if (before == after || (before > 0.0f && after > 0.0f) || (before < 0.0f && after < 0.0f)) {
        return false;
    }
    const float share = before / (before - after);
    return ringCaptures(ring, from + share * (to - from), radius);
}

}  // namespace common::scene
