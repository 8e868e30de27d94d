#pragma once

#include <array>

namespace common::input {

// One gamepad as GLFW's gamepad API reports it (its built-in mappings give every pad the same
// layout): six axes in -1..1 and fifteen buttons, indexed by the GLFW_GAMEPAD_* constants.
struct PadState {
    bool connected = false;
    std::array<float, 6> axes{};
    std::array<bool, 15> buttons{};
};

}  // namespace common::input
