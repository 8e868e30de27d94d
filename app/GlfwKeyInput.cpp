#include "app/GlfwKeyInput.h"

#include <algorithm>

#include <GLFW/glfw3.h>

namespace common::app {
namespace {

input::PadState readFirstPad() {
    input::PadState pad;
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        GLFWgamepadstate state;
        if (glfwJoystickIsGamepad(joystick) && glfwGetGamepadState(joystick, &state)) {
            pad.connected = true;
            std::copy(std::begin(state.axes), std::end(state.axes), pad.axes.begin());
            std::transform(std::begin(state.buttons), std::end(state.buttons), pad.buttons.begin(),
                           [](unsigned char button) { return button == GLFW_PRESS; });
            break;
        }
    }
    return pad;
}

}  // namespace

bool GlfwKeyInput::isKeyDown(int key) {
    if (blocked_) {
        return false;
    }
    return glfwGetKey(window_, key) == GLFW_PRESS || pad_.amount(key) > 0.0f;
}

float GlfwKeyInput::amount(int key) {
    if (blocked_) {
        return 0.0f;
    }
    return glfwGetKey(window_, key) == GLFW_PRESS ? 1.0f : pad_.amount(key);
}

std::vector<int> GlfwKeyInput::pollPad() {
    const input::PadState now = readFirstPad();
    std::vector<int> pressed = input::InputState::pressedSince(padButtons_, now);
    padButtons_ = now;
    pad_ = input::InputState::fromPad(now);
    return pressed;
}

}  // namespace common::app
