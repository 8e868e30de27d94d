#pragma once

#include <glm/glm.hpp>

#include "game/InputFrame.h"

namespace common::scene {

// The craft's flight without anything drawn: each step it pitches about its own x axis and rolls
// about its own z axis as the input asks (there is no yaw), works out its speed from how steeply it
// climbs or dives and moves along its nose while sinking at a constant rate. The pose is kept by
// whoever owns the craft (the drawn craft keeps it as its model matrix), reached through pose() and
// setPose(); a craft of its own keeps it here.
class CraftFlight {
  public:
    static constexpr float kMinSpeed = 2.0f;
    static constexpr float kMaxSpeed = 12.0f;
    static constexpr float kStartSpeed = 7.5f;
    static constexpr float kLevelPitch = 90.0f;
    // Nose-down limit: the pitch angle (from world up) a nose-down turn may not reach.
    static constexpr float kPitchLimit = 150.0f;
    // Turn rates at a fully held control (degrees per second), and the constant sink (units per
    // second). The autopilot flies with these same figures.
    static constexpr float kPitchRate = 40.0f;
    static constexpr float kRollRate = 120.0f;
    static constexpr float kSinkRate = 3.0f;

    CraftFlight() = default;
    explicit CraftFlight(const glm::mat4& start) : ownPose_(start) { resetFlight(); }
    virtual ~CraftFlight() = default;
    CraftFlight(const CraftFlight&) = default;
    CraftFlight& operator=(const CraftFlight&) = default;

    virtual const glm::mat4& pose() const { return ownPose_; }
    virtual void setPose(const glm::mat4& pose) { ownPose_ = pose; }

    // Flight state back to start for the current pose: level, start speed, no step behind it.
    void resetFlight();
    // One step of `dt` seconds: the turns the input asks for, the speed, the move.
    void fly(double dt, const InputFrame& input);

    // Nose down by `angle` degrees, unless the pitch angle would reach the limit.
    void pitchDown(float angle);
    // Turns about the local x axis by `angle` degrees (negative: nose up), without limit.
    void pitchUp(float angle);
    void roll(float angle);
    void updateSpeed(float dt);

    glm::vec3 position{0.0f};
    // Where the last step started from: the rings take the step from here to `position`. A reset
    // sets it to `position`, so a restart is no step.
    glm::vec3 previousPosition{0.0f};
    glm::vec4 direction{0.0f, 0.0f, 1.0f, 0.0f};
    float pitchAngle = 0.0f;
    float speed = 0.0f;

  private:
    void turn(float angle, const glm::vec3& axis);

    glm::mat4 ownPose_{1.0f};
};

}  // namespace common::scene
