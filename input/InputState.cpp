#include "input/InputState.h"

#include <algorithm>
#include <cmath>

// Only the key codes: the keyboard and pad are read in the devices layer.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "game/KeyInput.h"

namespace common::input {
namespace {

// A resting stick rarely reads exactly 0.
constexpr float kDeadZone = 0.15f;

// The part of the deflection beyond the dead zone, 0 to 1, in the direction `sign`.
float deflection(float axis, float sign) {
    const float toward = std::clamp(axis * sign, 0.0f, 1.0f);
    return toward <= kDeadZone ? 0.0f : (toward - kDeadZone) / (1.0f - kDeadZone);
}

float held(const PadState& pad, int button, float stick) {
    return pad.buttons[std::size_t(button)] ? 1.0f : stick;
}

}  // namespace

InputState InputState::fromPad(const PadState& pad) {
    InputState state;
    if (!pad.connected) {
        return state;
    }
    const float x = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
    const float y = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];  // forward is negative
    state.noseDown = held(pad, GLFW_GAMEPAD_BUTTON_DPAD_UP, deflection(y, -1.0f));
    state.noseUp = held(pad, GLFW_GAMEPAD_BUTTON_DPAD_DOWN, deflection(y, 1.0f));
    state.rollLeft = held(pad, GLFW_GAMEPAD_BUTTON_DPAD_LEFT, deflection(x, -1.0f));
    state.rollRight = held(pad, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, deflection(x, 1.0f));
    return state;
}

std::vector<int> InputState::pressedSince(const PadState& before, const PadState& now) {
    std::vector<int> pressed;
    for (std::size_t button = 0; button < now.buttons.size(); ++button) {
        if (now.buttons[button] && !before.buttons[button]) {
            pressed.push_back(static_cast<int>(button));
        }
    }
    return pressed;
}

float InputState::amount(int key) const {
    switch (key) {
        case scene::keys::kUp:
            return noseDown;
        case scene::keys::kDown:
            return noseUp;
        case scene::keys::kLeft:
            return rollLeft;
        case scene::keys::kRight:
            return rollRight;
        default:
            return 0.0f;
    }
}

}  // namespace common::input
