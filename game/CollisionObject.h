#pragma once

namespace common::scene {

class Player;

// Something the craft can fly through: the scene keeps its rings through this interface.
class CollisionObject {
  public:
    virtual ~CollisionObject() = default;
    // True while the craft is inside the capture zone this frame (finish rings have a wider one).
    virtual bool collides(const Player& player, bool isFinish) const = 0;
};

}  // namespace common::scene
