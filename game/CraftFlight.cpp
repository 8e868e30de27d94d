#include "game/CraftFlight.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"
#include "game/KeyInput.h"

namespace common::scene {

InputFrame InputFrame::from(KeyInput& keys, bool invertPitch) {
    const float up = keys.amount(keys::kUp);
    const float down = keys.amount(keys::kDown);
    return {invertPitch ? down : up, invertPitch ? up : down, keys.amount(keys::kLeft),
            keys.amount(keys::kRight)};
}

void CraftFlight::resetFlight() {
    const glm::mat4& start = pose();
    position = glm::vec3(start[3]);
    previousPosition = position;
    pitchAngle = kLevelPitch;
    speed = kStartSpeed;
    direction = start[2];
}

void CraftFlight::turn(float angle, const glm::vec3& axis) {
    setPose(glm::rotate(pose(), static_cast<float>(toRadians(static_cast<double>(angle))), axis));
}

void CraftFlight::pitchDown(float angle) {
    if (pitchAngle + angle < kPitchLimit) {
        turn(angle, glm::vec3(1.0f, 0.0f, 0.0f));
    }
}

void CraftFlight::pitchUp(float angle) {
    turn(angle, glm::vec3(1.0f, 0.0f, 0.0f));
}

void CraftFlight::roll(float angle) {
    turn(angle, glm::vec3(0.0f, 0.0f, 1.0f));
}

void CraftFlight::updateSpeed(float dt) {
    // sin(pitch + 90) is the nose's vertical part: climbing costs speed, diving gains it.
    const float shifted = pitchAngle + 90.0f;
    const double change = std::sin(shifted * 3.14159265 / 180.0) * dt;
    speed = static_cast<float>(speed - change);
    speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

void CraftFlight::fly(double dt, const InputFrame& input) {
    previousPosition = position;
    // A control held fully turns at the full rate; a gamepad's stick in proportion.
    if (input.noseDown > 0.0f) {
        pitchDown(static_cast<float>(dt * kPitchRate * input.noseDown));
    }
    if (input.noseUp > 0.0f) {
        pitchUp(static_cast<float>(dt * -kPitchRate * input.noseUp));
    }
    if (input.rollRight > 0.0f) {
        roll(static_cast<float>(dt * kRollRate * input.rollRight));
    }
    if (input.rollLeft > 0.0f) {
        roll(static_cast<float>(dt * -kRollRate * input.rollLeft));
    }

    const glm::vec3 nose(pose()[2]);
    // Rounding can push the cosine a hair past 1; acos would then give NaN.
    const float cosine = std::clamp(nose.y / glm::length(nose), -1.0f, 1.0f);
    pitchAngle = toDegrees(std::acos(cosine));
    updateSpeed(static_cast<float>(dt));

    direction = pose() * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    const float step = static_cast<float>(dt);
    position += step * (speed * glm::vec3(direction) + glm::vec3(0.0f, -kSinkRate, 0.0f));
    glm::mat4 moved = pose();
    moved[3] = glm::vec4(position, 1.0f);
    setPose(moved);
}

}  // namespace common::scene
