#pragma once

namespace common::scene {

class KeyInput;

// What the player asks of the craft in one frame: how far each steering control is held, 0 to 1 (a
// key fully or not at all, a stick in proportion).
struct InputFrame {
    float noseDown = 0.0f;
    float noseUp = 0.0f;
    float rollLeft = 0.0f;
    float rollRight = 0.0f;

    // The arrow keys as `keys` holds them now. Up puts the nose down, as a stick pushed forward does;
    // with `invertPitch` it puts the nose up, and Down down.
    static InputFrame from(KeyInput& keys, bool invertPitch = false);
};

}  // namespace common::scene
