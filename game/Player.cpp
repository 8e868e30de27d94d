#include "game/Player.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"

#include "game/KeyInput.h"

namespace common::scene {
namespace {}  // namespace

void Player::reset() {
    position = glm::vec3(modelMatrix[3]);
    previousPosition = position;
    pitchAngle = kLevelPitch;
    speed = kStartSpeed;
    direction = modelMatrix[2];
    lastEye = position + glm::vec3(0.0f, kEyeHeight, -1.0f);
}

void Player::turn(float angle, const glm::vec3& axis) {
    // Through the setter, so the cached inverse (used for the normals) follows the turn.
    setModelMatrix(glm::rotate(modelMatrix, static_cast<float>(toRadians(static_cast<double>(angle))), axis));
}

void Player::pitchDown(float angle) {
    if (pitchAngle + angle < kPitchLimit) {
        turn(angle, glm::vec3(1.0f, 0.0f, 0.0f));
    }
}

void Player::pitchUp(float angle) {
    turn(angle, glm::vec3(1.0f, 0.0f, 0.0f));
}

void Player::roll(float angle) {
    turn(angle, glm::vec3(0.0f, 0.0f, 1.0f));
}

void Player::updateSpeed(float dt) {
    // sin(pitch + 90) is the nose's vertical part: climbing costs speed, diving gains it.
    const float shifted = pitchAngle + 90.0f;
    const double change = std::sin(shifted * 3.14159265 / 180.0) * dt;
    speed = static_cast<float>(speed - change);
    speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

void Player::pollKeys(double dt) {
    if (!input) {
        return;
    }
    // A key held fully turns at the full rate; a gamepad's stick in proportion.
    if (const float held = input->amount(keys::kUp); held > 0.0f) {
        pitchDown(static_cast<float>(dt * kPitchRate * held));
    }
    if (const float held = input->amount(keys::kDown); held > 0.0f) {
        pitchUp(static_cast<float>(dt * -kPitchRate * held));
    }
    if (const float held = input->amount(keys::kRight); held > 0.0f) {
        roll(static_cast<float>(dt * kRollRate * held));
    }
    if (const float held = input->amount(keys::kLeft); held > 0.0f) {
        roll(static_cast<float>(dt * -kRollRate * held));
    }
}

void Player::update(double dt) {
    Mesh::update(dt);
    previousPosition = position;
    pollKeys(dt);

    const glm::vec3 nose(modelMatrix[2]);
    // Rounding can push the cosine a hair past 1; acos would then give NaN.
    const float cosine = std::clamp(nose.y / glm::length(nose), -1.0f, 1.0f);
    pitchAngle = toDegrees(std::acos(cosine));
    updateSpeed(static_cast<float>(dt));

    direction = modelMatrix * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    const float step = static_cast<float>(dt);
    position += step * (speed * glm::vec3(direction) + glm::vec3(0.0f, -kSinkRate, 0.0f));
    glm::mat4 moved = modelMatrix;
    moved[3] = glm::vec4(position, 1.0f);
    setModelMatrix(moved);
}

glm::vec3 Player::cameraEye() {
    const float horizontal = std::sqrt(direction.x * direction.x + direction.z * direction.z);
    if (horizontal > 1e-6f) {
        lastEye = glm::vec3(position.x - direction.x / horizontal, position.y + kEyeHeight,
                            position.z - direction.z / horizontal);
    }
    return lastEye;
}

}  // namespace common::scene
