#pragma once

#include <glm/glm.hpp>

#include "game/CraftFlight.h"
#include "scene/Mesh.h"

namespace common::scene {

class KeyInput;

// The craft as drawn. Each frame it reads the arrow keys and flies (CraftFlight: it pitches about its
// own x axis and rolls about its own z axis, there is no yaw, works out its speed from how steeply it
// climbs or dives and moves along its nose while sinking at a constant 3 units per second). Its pose
// is its model matrix.
class Player : public Mesh, public CraftFlight {
  public:
    // The chase eye's height above the craft's origin.
    static constexpr float kEyeHeight = 0.65f;

    Player() = default;

    // Keys come from here; without input the craft flies hands-off.
    void setInput(KeyInput* keyInput) { input = keyInput; }
    // From the next update on the craft is drawn where `leader` flies (the race's craft) instead of
    // flying itself; null to fly again.
    void follow(const CraftFlight* leader) { this->leader = leader; }

    const glm::mat4& pose() const override { return getModelMatrix(); }
    // Through the setter, so the cached inverse (used for the normals) follows every turn.
    void setPose(const glm::mat4& pose) override { setModelMatrix(pose); }

    // Flight state back to start for the current model matrix: level, speed 7.5.
    void reset() override;
    void update(double dt) override;

    // Chase-camera eye: one unit behind the craft horizontally and 0.65 above it. When the craft
    // points straight up or down there is no "behind"; the last eye point is kept.
    glm::vec3 cameraEye();

  private:
    KeyInput* input = nullptr;
    const CraftFlight* leader = nullptr;
    glm::vec3 lastEye{0.0f};
};

}  // namespace common::scene
