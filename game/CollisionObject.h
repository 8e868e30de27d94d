#pragma once

namespace common::scene {

class CraftFlight;

// Something the craft can fly through: the scene keeps its rings through this interface.
class CollisionObject {
  public:
    virtual ~CollisionObject() = default;
    // True when the craft passes through the capture zone this frame: it ends its step inside, or the
    // step from its previous position crosses it (finish rings have a wider one).
    virtual bool collides(const CraftFlight& player, bool isFinish) const = 0;
};

}  // namespace common::scene
