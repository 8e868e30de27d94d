#pragma once

#include <glm/glm.hpp>

#include "scene/Mesh.h"

namespace common::scene {

class KeyInput;

// The craft. Each frame it reads the arrow keys, pitches about its own x axis and rolls about its
// own z axis (there is no yaw), works out its speed from how steeply it climbs or dives and moves
// along its nose while sinking at a constant 3 units per second.
class Player : public Mesh {
  public:
    static constexpr float kMinSpeed = 2.0f;
    static constexpr float kMaxSpeed = 12.0f;
    static constexpr float kStartSpeed = 7.5f;
    static constexpr float kLevelPitch = 90.0f;
    // Nose-down limit: the pitch angle (from world up) a nose-down turn may not reach.
    static constexpr float kPitchLimit = 150.0f;
    // Turn rates while an arrow key is held (degrees per second), and the constant sink (units per
    // second). The autopilot flies with these same figures.
    static constexpr float kPitchRate = 40.0f;
    static constexpr float kRollRate = 120.0f;
    static constexpr float kSinkRate = 3.0f;
    // The chase eye's height above the craft's origin.
    static constexpr float kEyeHeight = 0.65f;

    Player() = default;

    // Keys come from here; without input the craft flies hands-off.
    void setInput(KeyInput* keyInput) { input = keyInput; }

    // Flight state back to start for the current model matrix: level, speed 7.5.
    void reset() override;
    void update(double dt) override;

    // Chase-camera eye: one unit behind the craft horizontally and 0.65 above it. When the craft
    // points straight up or down there is no "behind"; the last eye point is kept.
    glm::vec3 cameraEye();

    // Nose down by `angle` degrees, unless the pitch angle would reach the limit.
    void pitchDown(float angle);
    // Turns about the local x axis by `angle` degrees (negative: nose up), without limit.
    void pitchUp(float angle);
    void roll(float angle);
    void updateSpeed(float dt);

    glm::vec3 position{0.0f};
    // Where the last update started from: the rings take the step from here to `position`. A reset
    // sets it to `position`, so a restart is no step.
    glm::vec3 previousPosition{0.0f};
    glm::vec4 direction{0.0f, 0.0f, 1.0f, 0.0f};
    float pitchAngle = 0.0f;
    float speed = 0.0f;

  private:
    void pollKeys(double dt);
    void turn(float angle, const glm::vec3& axis);

    KeyInput* input = nullptr;
    glm::vec3 lastEye{0.0f};
};

}  // namespace common::scene
