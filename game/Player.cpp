#include "game/Player.h"

#include <cmath>

#include "game/KeyInput.h"

namespace common::scene {

void Player::reset() {
    resetFlight();
    lastEye = position + glm::vec3(0.0f, kEyeHeight, -1.0f);
}

void Player::update(double dt) {
    Mesh::update(dt);
    if (leader) {
        CraftFlight::operator=(*leader);
        setModelMatrix(leader->pose());
        return;
    }
    fly(dt, input ? InputFrame::from(*input) : InputFrame{});
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
