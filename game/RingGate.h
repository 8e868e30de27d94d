#pragma once

#include <glm/glm.hpp>

#include "game/CollisionObject.h"
#include "game/RingCapture.h"

namespace common::scene {

// A ring as the rules see it, without its meshes: the capture zone of a ring placed by a transform.
// Lets a course be flown and scored without a window (the flight tests, the autopilot's course
// times); the scene's CircleCheckpoint answers the same for the rings that are drawn.
class RingGate : public CollisionObject {
  public:
    explicit RingGate(const glm::mat4& transform) : pose(poseOfRing(transform)) {}

    bool collides(const CraftFlight& player, bool isFinish) const override;

    const RingPose pose;
};

}  // namespace common::scene
