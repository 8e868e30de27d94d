#pragma once

#include <vector>

#include "input/PadState.h"

namespace common::input {

// What the player asks for this frame from the pad, in the keyboard's terms: how far each arrow
// is "held" (0 to 1, the stick in proportion, the d-pad fully). The buttons' commands are the
// command table's.
struct InputState {
    float noseDown = 0.0f;
    float noseUp = 0.0f;
    float rollLeft = 0.0f;
    float rollRight = 0.0f;

    // The left stick beyond a small dead zone, scaled so that full deflection is the keys' rate;
    // the d-pad acts as the arrows. Pushing the stick forward puts the nose down, as Up does.
    static InputState fromPad(const PadState& pad);
    // The buttons held in `now` that were not in `before`, in button order.
    static std::vector<int> pressedSince(const PadState& before, const PadState& now);
    // How far the arrow key `key` (game/KeyInput.h codes) is held through the pad.
    float amount(int key) const;
};

}  // namespace common::input
